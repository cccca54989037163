daystride_test(tst_panelitem
    SOURCES TestBus.cpp TestBus.h TestStatusNotifierWatcher.cpp TestStatusNotifierWatcher.h
    LABELS x11)
target_compile_definitions(tst_panelitem PRIVATE DAYSTRIDE_EXECUTABLE="$<TARGET_FILE:daystride>")
add_dependencies(tst_panelitem daystride)
daystride_test(tst_popover ENV TZ=America/New_York)
target_compile_definitions(tst_popover PRIVATE
    DAYSTRIDE_TRANSLATIONS_BUILD_DIR="${DAYSTRIDE_TRANSLATIONS_BUILD_DIR}")
# Buttons and labels whole in the longer languages too.
daystride_test_in_languages(tst_popover textsWholeAtEachFontSize)
# On weston's headless backend, which scripts/test starts on WAYLAND_DISPLAY.
daystride_test(tst_wayland
    SOURCES TestBus.cpp TestBus.h TestStatusNotifierWatcher.cpp TestStatusNotifierWatcher.h
    ENV WAYLAND_DISPLAY=daystride-wayland XDG_SESSION_TYPE=wayland
    LABELS wayland)
set_tests_properties(tst_wayland PROPERTIES SKIP_RETURN_CODE 77)
daystride_test(tst_reliability
    SOURCES TestBus.cpp TestBus.h TestStatusNotifierWatcher.cpp TestStatusNotifierWatcher.h
    LABELS x11)
target_compile_definitions(tst_reliability PRIVATE DAYSTRIDE_EXECUTABLE="$<TARGET_FILE:daystride>")
add_dependencies(tst_reliability daystride)
# On real shells, each started by its wrapper under tests/shells: GNOME Shell with
# the AppIndicator extension, and sway with waybar. They skip where a shell cannot
# start here. Alone: a whole desktop shell loads the machine enough to upset others.
add_executable(tst_shell tst_shell.cpp VirtualPointer.cpp VirtualPointer.h)
target_link_libraries(tst_shell PRIVATE daystride_testsupport)
target_compile_definitions(tst_shell PRIVATE DAYSTRIDE_EXECUTABLE="$<TARGET_FILE:daystride>")
add_dependencies(tst_shell daystride)
daystride_wayland_protocols(tst_shell "${CMAKE_CURRENT_SOURCE_DIR}/shells/wlr-virtual-pointer-unstable-v1.xml")
foreach(shell gnome-shell sway)
    add_test(NAME tst_shell_${shell}
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/shells/with-${shell} $<TARGET_FILE:tst_shell>)
    set_tests_properties(tst_shell_${shell} PROPERTIES LABELS shell TIMEOUT 600
        SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
endforeach()
# waybar's module runs the built program.
set_property(TEST tst_shell_sway APPEND PROPERTY ENVIRONMENT
    DAYSTRIDE_BIN_DIR=$<TARGET_FILE_DIR:daystride>)
# GNOME's lock screen needs a display manager: the stand-in's.
set_property(TEST tst_shell_gnome-shell PROPERTY ENVIRONMENT
    DAYSTRIDE_TEST_SERVICE=$<TARGET_FILE:daystride_test_service>)
add_dependencies(tst_shell daystride_test_service)
# Forced onto X11 under sway: the covers through Xwayland.
add_test(NAME tst_shell_sway_xwayland
    COMMAND ${CMAKE_COMMAND} -E env DAYSTRIDE_SHELL_XWAYLAND=1
        ${CMAKE_CURRENT_SOURCE_DIR}/shells/with-sway $<TARGET_FILE:tst_shell> showCountdownCoversEachOutput)
set_tests_properties(tst_shell_sway_xwayland PROPERTIES LABELS shell TIMEOUT 120
    SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
# The panel text against the wall clock: the program's clock faked by libfaketime.
find_file(DAYSTRIDE_LIBFAKETIME libfaketime.so.1
    PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/faketime /usr/lib/faketime NO_DEFAULT_PATH)
daystride_test(tst_wallclock
    SOURCES TestBus.cpp TestBus.h TestStatusNotifierWatcher.cpp TestStatusNotifierWatcher.h
    ENV TZ=Europe/Lisbon
    LABELS x11)
target_compile_definitions(tst_wallclock PRIVATE DAYSTRIDE_EXECUTABLE="$<TARGET_FILE:daystride>"
    DAYSTRIDE_LIBFAKETIME="${DAYSTRIDE_LIBFAKETIME}")
add_dependencies(tst_wallclock daystride)
# In the real panels of KDE Plasma, XFCE, MATE, LXQt and Cinnamon, each started by its wrapper under
# tests/shells on an X server of its own. Alone: a whole desktop loads the machine.
add_executable(tst_panels tst_panels.cpp)
target_link_libraries(tst_panels PRIVATE daystride_testsupport)
target_compile_definitions(tst_panels PRIVATE DAYSTRIDE_EXECUTABLE="$<TARGET_FILE:daystride>"
    DAYSTRIDE_ATSPI_DUMP="${CMAKE_CURRENT_SOURCE_DIR}/shells/atspi-dump")
add_dependencies(tst_panels daystride)
foreach(desktop plasma xfce mate lxqt cinnamon)
    add_test(NAME tst_panels_${desktop}
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/shells/with-${desktop} $<TARGET_FILE:tst_panels>)
    set_tests_properties(tst_panels_${desktop} PROPERTIES LABELS panels TIMEOUT 300
        SKIP_RETURN_CODE 77 RUN_SERIAL TRUE
        ENVIRONMENT "QTEST_FUNCTION_TIMEOUT=120000;DAYSTRIDE_PLASMOID=${PROJECT_SOURCE_DIR}/data/plasmoid;DAYSTRIDE_CINNAMON_APPLET=${PROJECT_SOURCE_DIR}/data/cinnamon-applet;DAYSTRIDE_BIN_DIR=$<TARGET_FILE_DIR:daystride>")
endforeach()

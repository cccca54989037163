add_executable(daystride_test_service services/main.cpp)
target_link_libraries(daystride_test_service PRIVATE Qt6::DBus)

# The platform's D-Bus sources, with no X server to fall back on.
daystride_test(tst_platformbus
    SOURCES TestBus.cpp TestBus.h
    ENV DISPLAY= WAYLAND_DISPLAY=)
target_compile_definitions(tst_platformbus PRIVATE
    DAYSTRIDE_TEST_SERVICE="$<TARGET_FILE:daystride_test_service>")
add_dependencies(tst_platformbus daystride_test_service)

daystride_test(tst_loginitem)

daystride_test(tst_x11platform LABELS x11)

# Starts an X server of its own with two X screens.
daystride_test(tst_x11screens LABELS x11)

# The Wayland idle protocols against a KWin of the test's own.
daystride_test(tst_waylandidle LABELS wayland)
daystride_wayland_protocols(tst_waylandidle "${DAYSTRIDE_PLASMA_WAYLAND_PROTOCOLS}/fake-input.xml")

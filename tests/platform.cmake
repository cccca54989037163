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

# The lockers' own logind is a stand-in on a bus of the test's.
daystride_test(tst_x11platform LABELS x11 SOURCES TestBus.cpp TestBus.h)
target_compile_definitions(tst_x11platform PRIVATE
    DAYSTRIDE_TEST_SERVICE="$<TARGET_FILE:daystride_test_service>")
add_dependencies(tst_x11platform daystride_test_service)

# The covers again, on an X server of its own with two X screens of different sizes.
add_test(NAME tst_x11screens
    COMMAND xvfb-run -a -s "-screen 0 1920x1080x24 -screen 1 1280x1024x24 -nolisten tcp"
        $<TARGET_FILE:tst_x11platform> eachScreenGetsItsOwnCover)
set_tests_properties(tst_x11screens PROPERTIES LABELS x11 TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;DAYSTRIDE_X_SCREENS=2")

# The Wayland idle protocols against KWin, started by its wrapper under tests/shells.
add_executable(tst_waylandidle tst_waylandidle.cpp)
target_link_libraries(tst_waylandidle PRIVATE daystride_testsupport)
add_test(NAME tst_waylandidle
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/shells/with-kwin $<TARGET_FILE:tst_waylandidle>)
set_tests_properties(tst_waylandidle PROPERTIES LABELS wayland TIMEOUT 300 SKIP_RETURN_CODE 77
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
daystride_wayland_protocols(tst_waylandidle "${DAYSTRIDE_PLASMA_WAYLAND_PROTOCOLS}/fake-input.xml")

# The program as it starts in German, French and American English (LANGUAGE and
# LC_ALL would outrank LANG), and the catalogues against the sources.
add_executable(tst_translations tst_translations.cpp)
target_link_libraries(tst_translations PRIVATE daystride_testsupport)
target_compile_definitions(tst_translations PRIVATE
    DAYSTRIDE_TRANSLATIONS_BUILD_DIR="${DAYSTRIDE_TRANSLATIONS_BUILD_DIR}"
    DAYSTRIDE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    DAYSTRIDE_LUPDATE="$<TARGET_FILE:Qt6::lupdate>")
add_test(NAME tst_translations COMMAND tst_translations catalogueComplete)
set_tests_properties(tst_translations PROPERTIES LABELS unit TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
foreach(locale de_DE fr_FR en_US)
    add_test(NAME tst_translations_${locale} COMMAND tst_translations shownTexts)
    set_tests_properties(tst_translations_${locale} PROPERTIES LABELS unit TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=Europe/Berlin;LANG=${locale}.UTF-8;LANGUAGE=;LC_ALL=;LC_MESSAGES=;LC_TIME=")
endforeach()

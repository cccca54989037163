# The light/dark switch against the stand-in Settings portal on a private bus.
daystride_test(tst_appearance SOURCES TestBus.cpp TestBus.h)
target_compile_definitions(tst_appearance PRIVATE
    DAYSTRIDE_TEST_SERVICE="$<TARGET_FILE:daystride_test_service>")
add_dependencies(tst_appearance daystride_test_service)
# Every window driven by the keyboard alone, and what a screen reader sees of it.
daystride_test(tst_accessibility ENV TZ=America/New_York)
# One-line fields, their padding and the idle controls, the same in every view.
daystride_test(tst_viewfields)
# Every window as a screen reader speaks it, heard on the accessibility bus that a
# session bus of the test's own starts.
add_executable(tst_screenreader tst_screenreader.cpp)
target_link_libraries(tst_screenreader PRIVATE daystride_testsupport)
target_compile_definitions(tst_screenreader PRIVATE
    DAYSTRIDE_SPOKEN="${CMAKE_CURRENT_SOURCE_DIR}/spoken.py")
add_test(NAME tst_screenreader COMMAND dbus-run-session -- $<TARGET_FILE:tst_screenreader>)
set_tests_properties(tst_screenreader PROPERTIES LABELS x11 TIMEOUT 300 RESOURCE_LOCK display
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;TZ=America/New_York")

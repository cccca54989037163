# The light/dark switch against the stand-in Settings portal on a private bus.
daystride_test(tst_appearance SOURCES TestBus.cpp TestBus.h)
target_compile_definitions(tst_appearance PRIVATE
    DAYSTRIDE_TEST_SERVICE="$<TARGET_FILE:daystride_test_service>")
add_dependencies(tst_appearance daystride_test_service)
# Every window driven by the keyboard alone, and what a screen reader sees of it.
daystride_test(tst_accessibility ENV TZ=America/New_York)
# One-line fields, their padding and the idle controls, the same in every view.
daystride_test(tst_viewfields)

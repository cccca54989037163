daystride_test(tst_panelitem
    SOURCES TestBus.cpp TestBus.h TestStatusNotifierWatcher.cpp TestStatusNotifierWatcher.h
    LABELS x11)
target_compile_definitions(tst_panelitem PRIVATE DAYSTRIDE_EXECUTABLE="$<TARGET_FILE:daystride>")
add_dependencies(tst_panelitem daystride)

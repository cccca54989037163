# Without a session bus: no single-instance name to contend for with other tests.
daystride_test(tst_settingsview ENV TZ=America/New_York DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent)
# Settings on the height a 1366 x 768 screen at 125 % leaves.
add_test(NAME tst_settingsview_short COMMAND tst_settingsview fitsAShortScreen)
set_tests_properties(tst_settingsview_short PROPERTIES LABELS unit TIMEOUT 60 ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_SOURCE_DIR}/short-screen.json;TZ=America/New_York;DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent")
daystride_test_in_languages(tst_settingsview textsWholeAtEachFontSize
    DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent)

# Without a session bus: no single-instance name to contend for with other tests.
daystride_test(tst_settingsview ENV TZ=America/New_York DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent)

# A showing that hangs on its texts fails here, not at the suite's limit.
daystride_test(tst_screensavercontroller ENV QTEST_FUNCTION_TIMEOUT=60000)
daystride_test(tst_countdownview)

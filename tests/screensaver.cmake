# A showing that hangs on its texts fails here, not at the suite's limit.
daystride_test(tst_screensaver ENV QTEST_FUNCTION_TIMEOUT=240000)

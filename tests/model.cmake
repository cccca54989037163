daystride_test(tst_codecs)
daystride_test(tst_countdown ENV TZ=America/New_York)
daystride_test(tst_timerviewmodel ENV TZ=America/New_York)

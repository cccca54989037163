daystride_test(tst_onboarding ENV TZ=America/New_York)

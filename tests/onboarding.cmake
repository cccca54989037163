daystride_test(tst_onboarding ENV TZ=America/New_York)
target_compile_definitions(tst_onboarding PRIVATE
    DAYSTRIDE_TRANSLATIONS_BUILD_DIR="${DAYSTRIDE_TRANSLATIONS_BUILD_DIR}")
# Every text whole in the longer languages too.
daystride_test_in_languages(tst_onboarding textsWholeAtALargeFont)

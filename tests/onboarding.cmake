daystride_test(tst_onboarding ENV TZ=America/New_York)
target_compile_definitions(tst_onboarding PRIVATE
    DAYSTRIDE_TRANSLATIONS_BUILD_DIR="${DAYSTRIDE_TRANSLATIONS_BUILD_DIR}")
# Every text whole in the longer languages too.
foreach(locale de_DE fr_FR)
    add_test(NAME tst_onboarding_${locale} COMMAND tst_onboarding textsWholeAtALargeFont)
    set_tests_properties(tst_onboarding_${locale} PROPERTIES LABELS unit TIMEOUT 60
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=America/New_York;LANG=${locale}.UTF-8;LANGUAGE=;LC_ALL=;LC_MESSAGES=")
endforeach()

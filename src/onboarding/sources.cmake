target_sources(daystride_lib PRIVATE
    onboarding/DatePage.cpp onboarding/DatePage.h
    onboarding/DayCalendar.cpp onboarding/DayCalendar.h
    onboarding/EventPage.cpp onboarding/EventPage.h
    onboarding/GuidePage.cpp onboarding/GuidePage.h
    onboarding/OnboardingView.cpp onboarding/OnboardingView.h
    onboarding/ScreensaverPage.cpp onboarding/ScreensaverPage.h
    onboarding/StepDots.cpp onboarding/StepDots.h
    onboarding/TourPage.cpp onboarding/TourPage.h
    onboarding/WelcomePage.cpp onboarding/WelcomePage.h
)

target_sources(daystride_lib PRIVATE
    onboarding/OnboardingView.cpp onboarding/OnboardingView.h
)

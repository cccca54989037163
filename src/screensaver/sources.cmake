target_sources(daystride_lib PRIVATE
    screensaver/ScreensaverController.cpp screensaver/ScreensaverController.h
)

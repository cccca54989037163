target_sources(daystride_lib PRIVATE
    screensaver/CountdownView.cpp screensaver/CountdownView.h
    screensaver/FittedText.cpp screensaver/FittedText.h
    screensaver/ScreensaverController.cpp screensaver/ScreensaverController.h
    screensaver/ScreensaverWindow.cpp screensaver/ScreensaverWindow.h
    screensaver/TodoView.cpp screensaver/TodoView.h
)

target_sources(daystride_lib PRIVATE
    menubar/DaystrideApp.cpp menubar/DaystrideApp.h
    menubar/FocusOnShow.cpp menubar/FocusOnShow.h
    menubar/PanelIcon.cpp menubar/PanelIcon.h
    menubar/PanelItem.cpp menubar/PanelItem.h
    menubar/Popover.cpp menubar/Popover.h
    menubar/ScreensaverSettingsView.cpp menubar/ScreensaverSettingsView.h
    menubar/SingleInstance.cpp menubar/SingleInstance.h
    menubar/StatusCommand.cpp menubar/StatusCommand.h
    menubar/SwayPlacement.cpp menubar/SwayPlacement.h
    menubar/TimerView.cpp menubar/TimerView.h
)

target_sources(daystride_lib PRIVATE
    platform/CoveringWindow.cpp platform/CoveringWindow.h
    platform/DBusQuery.cpp platform/DBusQuery.h
    platform/DisplaySleepAssertions.cpp platform/DisplaySleepAssertions.h
    platform/IdleTime.cpp platform/IdleTime.h
    platform/InputMonitor.cpp platform/InputMonitor.h
    platform/LinuxPlatform.cpp platform/LinuxPlatform.h
    platform/LoginItem.cpp platform/LoginItem.h
    platform/Platform.h
    platform/SettingsStore.cpp platform/SettingsStore.h
    platform/Timers.cpp platform/Timers.h
    platform/UnixSignalWatcher.cpp platform/UnixSignalWatcher.h
    platform/XScreenSaverIdle.cpp platform/XScreenSaverIdle.h
)

# The X server's idle counter and window hints for covering windows.
find_package(PkgConfig REQUIRED)
pkg_check_modules(DAYSTRIDE_X11 REQUIRED IMPORTED_TARGET x11 xscrnsaver xcb)
target_link_libraries(daystride_lib PUBLIC PkgConfig::DAYSTRIDE_X11)

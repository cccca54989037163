target_sources(daystride_lib PRIVATE
    platform/LinuxPlatform.cpp platform/LinuxPlatform.h
    platform/Platform.h
    platform/SettingsStore.cpp platform/SettingsStore.h
    platform/UnixSignalWatcher.cpp platform/UnixSignalWatcher.h
)

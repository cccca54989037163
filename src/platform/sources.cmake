target_sources(daystride_lib PRIVATE
    platform/CoveringWindow.cpp platform/CoveringWindow.h
    platform/DBusQuery.cpp platform/DBusQuery.h
    platform/DisplaySleepAssertions.cpp platform/DisplaySleepAssertions.h
    platform/ExtIdleNotifySource.cpp platform/ExtIdleNotifySource.h
    platform/IdleSource.h
    platform/IdleTime.cpp platform/IdleTime.h
    platform/InputMonitor.cpp platform/InputMonitor.h
    platform/KdeIdleSource.cpp platform/KdeIdleSource.h
    platform/LinuxPlatform.cpp platform/LinuxPlatform.h
    platform/LoginItem.cpp platform/LoginItem.h
    platform/MutterIdleSource.cpp platform/MutterIdleSource.h
    platform/Platform.h
    platform/ScreenSaverIdleSource.cpp platform/ScreenSaverIdleSource.h
    platform/SettingsStore.cpp platform/SettingsStore.h
    platform/Timers.cpp platform/Timers.h
    platform/UnixSignalWatcher.cpp platform/UnixSignalWatcher.h
    platform/WaylandIdleConnection.cpp platform/WaylandIdleConnection.h
    platform/WaylandIdleSource.cpp platform/WaylandIdleSource.h
    platform/XSyncIdleSource.cpp platform/XSyncIdleSource.h
)

# The X server's idle counter and window hints for covering windows; the
# compositor's idle protocols on a Wayland connection of the program's own.
find_package(PkgConfig REQUIRED)
pkg_check_modules(DAYSTRIDE_X11 REQUIRED IMPORTED_TARGET x11 xcb xcb-sync)
pkg_check_modules(DAYSTRIDE_WAYLAND REQUIRED IMPORTED_TARGET wayland-client)
target_link_libraries(daystride_lib PUBLIC PkgConfig::DAYSTRIDE_X11 PkgConfig::DAYSTRIDE_WAYLAND)

# Client code for the idle protocols, generated from the XML the Debian packages ship.
pkg_get_variable(DAYSTRIDE_WAYLAND_SCANNER wayland-scanner wayland_scanner)
pkg_get_variable(DAYSTRIDE_WAYLAND_PROTOCOLS wayland-protocols pkgdatadir)
find_package(PlasmaWaylandProtocols REQUIRED)
set(protocols
    "${DAYSTRIDE_WAYLAND_PROTOCOLS}/staging/ext-idle-notify/ext-idle-notify-v1.xml"
    "${PLASMA_WAYLAND_PROTOCOLS_DIR}/idle.xml")
set(generated "${CMAKE_CURRENT_BINARY_DIR}/wayland")
foreach(xml ${protocols})
    get_filename_component(base "${xml}" NAME_WE)
    add_custom_command(
        OUTPUT "${generated}/${base}-client-protocol.h" "${generated}/${base}-protocol.c"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${generated}"
        COMMAND "${DAYSTRIDE_WAYLAND_SCANNER}" client-header "${xml}"
            "${generated}/${base}-client-protocol.h"
        COMMAND "${DAYSTRIDE_WAYLAND_SCANNER}" private-code "${xml}"
            "${generated}/${base}-protocol.c"
        DEPENDS "${xml}"
        VERBATIM)
    list(APPEND generated_files
        "${generated}/${base}-client-protocol.h" "${generated}/${base}-protocol.c")
endforeach()
# The generated tables are included by a C++ file, so no C compiler is needed.
set_source_files_properties(${generated_files} PROPERTIES HEADER_FILE_ONLY ON)
target_sources(daystride_lib PRIVATE ${generated_files} platform/WaylandProtocols.cpp)
target_include_directories(daystride_lib PRIVATE "${generated}")

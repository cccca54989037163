target_sources(daystride_lib PRIVATE
    platform/ColorSchemePortal.cpp platform/ColorSchemePortal.h
    platform/CoverPixel.cpp platform/CoverPixel.h
    platform/CoveringWindow.cpp platform/CoveringWindow.h
    platform/DBusIdleSource.cpp platform/DBusIdleSource.h
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
    platform/SessionLock.cpp platform/SessionLock.h
    platform/SettingsStore.cpp platform/SettingsStore.h
    platform/Timers.cpp platform/Timers.h
    platform/Translations.cpp platform/Translations.h
    platform/UnixSignalWatcher.cpp platform/UnixSignalWatcher.h
    platform/WallClock.cpp platform/WallClock.h
    platform/WaylandDecorations.cpp platform/WaylandDecorations.h
    platform/WaylandFrameCallbacks.cpp platform/WaylandFrameCallbacks.h
    platform/WaylandIdleConnection.cpp platform/WaylandIdleConnection.h
    platform/WaylandIdleSource.cpp platform/WaylandIdleSource.h
    platform/XScreenSaverSuspensions.cpp platform/XScreenSaverSuspensions.h
    platform/XSyncIdleSource.cpp platform/XSyncIdleSource.h
    platform/WorkAreaWindow.cpp platform/WorkAreaWindow.h
)

# The X server's idle counter and window hints for covering windows; the
# compositor's idle protocols on a Wayland connection of the program's own.
find_package(PkgConfig REQUIRED)
pkg_check_modules(DAYSTRIDE_X11 REQUIRED IMPORTED_TARGET x11 xcb xcb-sync xcb-screensaver xcb-record)
pkg_check_modules(DAYSTRIDE_WAYLAND REQUIRED IMPORTED_TARGET wayland-client)
target_link_libraries(daystride_lib PUBLIC PkgConfig::DAYSTRIDE_X11 PkgConfig::DAYSTRIDE_WAYLAND)
# Qt's native interface: the Wayland connection and surfaces of Qt's own windows.
target_link_libraries(daystride_lib PRIVATE Qt6::GuiPrivate)

# Client code for Wayland protocols, generated from the XML the Debian packages ship:
# daystride_wayland_protocols(TARGET XML...) adds NAME-client-protocol.h and the
# interface tables, which a C++ file of the target includes as NAME-protocol.c.
pkg_get_variable(scanner wayland-scanner wayland_scanner)
pkg_get_variable(protocols wayland-protocols pkgdatadir)
find_package(PlasmaWaylandProtocols REQUIRED)
# Where the callers in other folders find them too.
set(DAYSTRIDE_WAYLAND_SCANNER "${scanner}" CACHE INTERNAL "")
set(DAYSTRIDE_WAYLAND_PROTOCOLS "${protocols}" CACHE INTERNAL "")
set(DAYSTRIDE_PLASMA_WAYLAND_PROTOCOLS "${PLASMA_WAYLAND_PROTOCOLS_DIR}" CACHE INTERNAL "")
function(daystride_wayland_protocols target)
    set(generated "${CMAKE_CURRENT_BINARY_DIR}/${target}_wayland")
    foreach(xml ${ARGN})
        get_filename_component(base "${xml}" NAME_WE)
        set(header "${generated}/${base}-client-protocol.h")
        set(code "${generated}/${base}-protocol.c")
        add_custom_command(
            OUTPUT "${header}" "${code}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${generated}"
            COMMAND "${DAYSTRIDE_WAYLAND_SCANNER}" client-header "${xml}" "${header}"
            COMMAND "${DAYSTRIDE_WAYLAND_SCANNER}" private-code "${xml}" "${code}"
            DEPENDS "${xml}"
            VERBATIM)
        # Included by a C++ file, so no C compiler is needed.
        set_source_files_properties("${header}" "${code}" PROPERTIES HEADER_FILE_ONLY ON)
        target_sources(${target} PRIVATE "${header}" "${code}")
    endforeach()
    target_include_directories(${target} PRIVATE "${generated}")
endfunction()

daystride_wayland_protocols(daystride_lib
    "${DAYSTRIDE_WAYLAND_PROTOCOLS}/staging/ext-idle-notify/ext-idle-notify-v1.xml"
    "${DAYSTRIDE_PLASMA_WAYLAND_PROTOCOLS}/idle.xml"
    "${DAYSTRIDE_WAYLAND_PROTOCOLS}/stable/viewporter/viewporter.xml")
target_sources(daystride_lib PRIVATE platform/WaylandProtocols.cpp)

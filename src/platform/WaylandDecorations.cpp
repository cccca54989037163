#include "WaylandDecorations.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstring>
#include <wayland-client.h>

namespace {
void global(void *data, wl_registry *, uint32_t, const char *interface, uint32_t)
{
    if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
        *static_cast<bool *>(data) = true;
}

void globalRemove(void *, wl_registry *, uint32_t) { }
} // namespace

bool WaylandDecorations::compositorDrawsFrames()
{
    const QByteArray name = qgetenv("WAYLAND_DISPLAY");
    // A socket handed over by the compositor can be taken only once, by the toolkit.
    if (name.isEmpty() || qEnvironmentVariableIsSet("WAYLAND_SOCKET"))
        return false;
    wl_display *display = wl_display_connect(name.constData());
    if (!display)
        return false;
    bool offered = false;
    static const wl_registry_listener listener = {&global, &globalRemove};
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &offered);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return offered;
}

bool WaylandDecorations::s_ownTitleBar = false;

void WaylandDecorations::preferCompositorFrames()
{
    // Only where Qt will take the Wayland platform.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("wayland"))
        return;
    if (platform.isEmpty() && qgetenv("XDG_SESSION_TYPE") != "wayland")
        return;
    // Qt reads the variable as a number; a user's "0" keeps its frames and the GL stack.
    bool set = false;
    const int disabled = qEnvironmentVariableIntValue("QT_WAYLAND_DISABLE_WINDOWDECORATION", &set);
    if (set && !disabled)
        return;
    if (!set)
        qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    s_ownTitleBar = !compositorDrawsFrames();
}

bool WaylandDecorations::windowsDrawOwnTitleBar()
{
    return s_ownTitleBar;
}

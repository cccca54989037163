#include "WaylandIdleConnection.h"

#include <QSocketNotifier>

#include <wayland-client.h>

WaylandIdleConnection::WaylandIdleConnection() = default;

WaylandIdleConnection::~WaylandIdleConnection()
{
    m_notifier.reset();
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    if (m_display)
        wl_display_disconnect(m_display);
}

bool WaylandIdleConnection::isConnected()
{
    if (!m_tried)
        connect();
    return m_display && wl_display_get_error(m_display) == 0;
}

void WaylandIdleConnection::connect()
{
    m_tried = true;
    const QByteArray name = qgetenv("WAYLAND_DISPLAY");
    // A socket handed over by the compositor belongs to the toolkit, which takes it.
    if (name.isEmpty() || qEnvironmentVariableIsSet("WAYLAND_SOCKET"))
        return;
    m_display = wl_display_connect(name.constData());
    if (!m_display)
        return;
    static const wl_registry_listener listener
        = {&WaylandIdleConnection::global, &WaylandIdleConnection::globalRemove};
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &listener, this);
    if (wl_display_roundtrip(m_display) < 0)
        return;
    if (const uint32_t seat = m_globals.value("wl_seat"))
        m_seat = static_cast<wl_seat *>(wl_registry_bind(m_registry, seat, &wl_seat_interface, 1));
    m_notifier
        = std::make_unique<QSocketNotifier>(wl_display_get_fd(m_display), QSocketNotifier::Read);
    QObject::connect(
        m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { readEvents(); });
}

void *WaylandIdleConnection::bind(const wl_interface *interface)
{
    if (!isConnected() || !m_seat)
        return nullptr;
    const uint32_t name = m_globals.value(interface->name);
    return name ? wl_registry_bind(m_registry, name, interface, 1) : nullptr;
}

bool WaylandIdleConnection::flush()
{
    if (!isConnected())
        return false;
    wl_display_flush(m_display);
    return checkError();
}

void WaylandIdleConnection::readEvents()
{
    while (wl_display_prepare_read(m_display) != 0)
        wl_display_dispatch_pending(m_display);
    wl_display_flush(m_display);
    wl_display_read_events(m_display);
    wl_display_dispatch_pending(m_display);
    checkError();
}

bool WaylandIdleConnection::checkError()
{
    if (wl_display_get_error(m_display) == 0)
        return true;
    // The compositor went away or closed the connection: nothing more will come.
    m_notifier.reset();
    return false;
}

void WaylandIdleConnection::global(
    void *data, wl_registry *, uint32_t name, const char *interface, uint32_t)
{
    auto *self = static_cast<WaylandIdleConnection *>(data);
    // The first of each kind: the first seat is the user's.
    if (!self->m_globals.contains(interface))
        self->m_globals.insert(interface, name);
}

void WaylandIdleConnection::globalRemove(void *data, wl_registry *, uint32_t name)
{
    auto *self = static_cast<WaylandIdleConnection *>(data);
    self->m_globals.remove(self->m_globals.key(name));
}

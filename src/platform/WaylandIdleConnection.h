#pragma once

#include <QByteArray>
#include <QMap>

#include <memory>

class QSocketNotifier;
struct wl_display;
struct wl_interface;
struct wl_registry;
struct wl_seat;

// A Wayland connection of the program's own for the idle protocols, independent of
// the one the toolkit may have, read on the main thread. Opened on first use, and
// only where WAYLAND_DISPLAY names a compositor.
class WaylandIdleConnection
{
public:
    WaylandIdleConnection();
    ~WaylandIdleConnection();

    WaylandIdleConnection(const WaylandIdleConnection &) = delete;
    WaylandIdleConnection &operator=(const WaylandIdleConnection &) = delete;

    // Connects on the first call; false once the compositor is gone.
    bool isConnected();
    wl_seat *seat() const { return m_seat; }
    // Binds the compositor's global of that interface at version 1; null when it
    // offers none.
    void *bind(const wl_interface *interface);
    // Sends what was asked; false when the connection broke.
    bool flush();

private:
    void connect();
    void readEvents();
    bool checkError();
    static void global(
        void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t version);
    static void globalRemove(void *data, wl_registry *registry, uint32_t name);

    wl_display *m_display = nullptr;
    wl_registry *m_registry = nullptr;
    wl_seat *m_seat = nullptr;
    QMap<QByteArray, uint32_t> m_globals; // interface -> name
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_tried = false;
};

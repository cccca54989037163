#pragma once

#include "IdleSource.h"

#include <QDBusConnection>

#include <memory>
#include <vector>

// Seconds since the user's last input, from the first source that answers. The
// source is chosen on the first query and kept while it answers; one that stops
// answering (a restarted shell, a service that went away) is chosen afresh.
class IdleTime
{
public:
    enum class Session { X11, Wayland };
    using Source = IdleSource::Kind;

    // The session of this process's environment: X11 when XDG_SESSION_TYPE says so,
    // or when DISPLAY is set without WAYLAND_DISPLAY.
    static Session currentSession();

    // In an X11 session: the X server, then the desktop's D-Bus services. In a
    // Wayland session: the compositor's idle protocols, then the D-Bus services; an
    // X server there sees only its own clients' input, so it is never asked.
    IdleTime(Session session, const QDBusConnection &sessionBus);
    ~IdleTime();

    IdleTime(const IdleTime &) = delete;
    IdleTime &operator=(const IdleTime &) = delete;

    // NaN when no source answers.
    double idleSeconds(IdleQuery query = IdleQuery::Cheap);
    // The source that answered last; nothing before the first query or when none did.
    std::optional<Source> source() const;

private:
    std::vector<std::unique_ptr<IdleSource>> m_sources;
    IdleSource *m_chosen = nullptr;
};

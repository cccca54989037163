#pragma once

#include <QDBusConnection>
#include <QString>

#include <memory>
#include <optional>

class XScreenSaverIdle;

// Seconds since the user's last input, from the first source that answers. The
// source is chosen on the first query and kept while it answers; one that stops
// answering (a restarted shell, a service that went away) is chosen afresh.
class IdleTime
{
public:
    enum class Session { X11, Wayland };
    enum class Source { None, XScreenSaver, MutterIdleMonitor, ScreenSaver };

    // The session of this process's environment: X11 when XDG_SESSION_TYPE says so,
    // or when DISPLAY is set without WAYLAND_DISPLAY.
    static Session currentSession();

    IdleTime(Session session, const QDBusConnection &sessionBus);
    ~IdleTime();

    IdleTime(const IdleTime &) = delete;
    IdleTime &operator=(const IdleTime &) = delete;

    // NaN when no source answers.
    double idleSeconds();
    // The source that answered last; None before the first query or when none did.
    Source source() const { return m_source; }
    static QString sourceName(Source source);

private:
    std::optional<double> query(Source source);
    std::optional<double> queryMutter();
    std::optional<double> queryScreenSaver();

    Session m_session;
    QDBusConnection m_bus;
    std::unique_ptr<XScreenSaverIdle> m_x11;
    Source m_source = Source::None;
};

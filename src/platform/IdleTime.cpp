#include "IdleTime.h"

#include "DBusQuery.h"
#include "XScreenSaverIdle.h"

#include <array>
#include <cmath>

IdleTime::Session IdleTime::currentSession()
{
    const QString type = qEnvironmentVariable("XDG_SESSION_TYPE").toLower();
    if (type == u"x11")
        return Session::X11;
    if (type == u"wayland")
        return Session::Wayland;
    if (!qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return Session::X11;
    return Session::Wayland;
}

IdleTime::IdleTime(Session session, const QDBusConnection &sessionBus)
    : m_session(session)
    , m_bus(sessionBus)
    , m_x11(std::make_unique<XScreenSaverIdle>())
{
}

IdleTime::~IdleTime() = default;

QString IdleTime::sourceName(Source source)
{
    switch (source) {
    case Source::XScreenSaver:
        return QStringLiteral("XScreenSaverQueryInfo");
    case Source::MutterIdleMonitor:
        return QStringLiteral("org.gnome.Mutter.IdleMonitor");
    case Source::ScreenSaver:
        return QStringLiteral("org.freedesktop.ScreenSaver");
    case Source::None:
        break;
    }
    return QStringLiteral("none");
}

double IdleTime::idleSeconds()
{
    if (m_source != Source::None) {
        if (const std::optional<double> seconds = query(m_source))
            return *seconds;
        m_source = Source::None;
    }
    // On Wayland the X server sees only X clients' input, so it comes last there.
    using Order = std::array<Source, 3>;
    const Order order = m_session == Session::X11
        ? Order {Source::XScreenSaver, Source::MutterIdleMonitor, Source::ScreenSaver}
        : Order {Source::MutterIdleMonitor, Source::ScreenSaver, Source::XScreenSaver};
    for (const Source candidate : order) {
        if (const std::optional<double> seconds = query(candidate)) {
            m_source = candidate;
            return *seconds;
        }
    }
    return std::nan("");
}

std::optional<double> IdleTime::query(Source source)
{
    switch (source) {
    case Source::XScreenSaver:
        return m_x11->idleSeconds();
    case Source::MutterIdleMonitor:
        return queryMutter();
    case Source::ScreenSaver:
        return queryScreenSaver();
    case Source::None:
        break;
    }
    return std::nullopt;
}

std::optional<double> IdleTime::queryMutter()
{
    DBusQuery query(m_bus, QStringLiteral("org.gnome.Mutter.IdleMonitor"),
        QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
        QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("GetIdletime"));
    if (query.run(QStringLiteral("t")) != DBusQuery::Outcome::Answered)
        return std::nullopt;
    return double(query.arguments().value(0).toULongLong()) / 1000.0;
}

std::optional<double> IdleTime::queryScreenSaver()
{
    DBusQuery query(m_bus, QStringLiteral("org.freedesktop.ScreenSaver"),
        QStringLiteral("/org/freedesktop/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("GetSessionIdleTime"));
    if (query.run(QStringLiteral("u")) != DBusQuery::Outcome::Answered)
        return std::nullopt;
    // KDE, the desktop that implements this call, answers in milliseconds.
    return double(query.arguments().value(0).toUInt()) / 1000.0;
}

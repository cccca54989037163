#include "ScreenSaverIdleSource.h"

#include "DBusQuery.h"

ScreenSaverIdleSource::ScreenSaverIdleSource(const QDBusConnection &bus)
    : m_bus(bus)
{
}

std::optional<double> ScreenSaverIdleSource::idleSeconds(IdleQuery)
{
    DBusQuery query(m_bus, QStringLiteral("org.freedesktop.ScreenSaver"),
        QStringLiteral("/org/freedesktop/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("GetSessionIdleTime"));
    if (query.run(QStringLiteral("u")) != DBusQuery::Outcome::Answered)
        return std::nullopt;
    // KDE, the desktop that implements this call, answers in milliseconds.
    return double(query.arguments().value(0).toUInt()) / 1000.0;
}

#include "DBusIdleSource.h"

#include "DBusQuery.h"

DBusIdleSource::DBusIdleSource(const QDBusConnection &bus, Method method)
    : m_bus(bus)
    , m_method(std::move(method))
{
}

DBusIdleSource::Method DBusIdleSource::screenSaver()
{
    const QString name = QStringLiteral("org.freedesktop.ScreenSaver");
    return {Kind::ScreenSaver, name, QStringLiteral("/org/freedesktop/ScreenSaver"), name,
        QStringLiteral("GetSessionIdleTime"), QStringLiteral("u")};
}

std::optional<double> DBusIdleSource::idleSeconds(IdleQuery)
{
    DBusQuery query(m_bus, m_method.service, m_method.path, m_method.interface, m_method.name);
    if (query.run(m_method.signature) != DBusQuery::Outcome::Answered)
        return std::nullopt;
    return double(query.arguments().value(0).toULongLong()) / 1000.0;
}

#include "TestStatusNotifierWatcher.h"

#include <QDBusMessage>

TestStatusNotifierWatcher::TestStatusNotifierWatcher(const QDBusConnection &bus)
    : m_bus(bus)
{
}

TestStatusNotifierWatcher::~TestStatusNotifierWatcher()
{
    stop();
}

bool TestStatusNotifierWatcher::start()
{
    m_running = m_bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                    QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals
                        | QDBusConnection::ExportAllProperties)
        && m_bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    return m_running;
}

void TestStatusNotifierWatcher::stop()
{
    if (!m_running)
        return;
    m_bus.unregisterService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    m_bus.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
    m_items.clear();
    m_running = false;
}

void TestStatusNotifierWatcher::RegisterStatusNotifierItem(const QString &service)
{
    // An item may name itself by its unique bus name or by its well-known one.
    const QString name = service.startsWith(QLatin1Char('/')) ? message().service() : service;
    ++m_registrations;
    if (!m_listsItems)
        return;
    if (!m_items.contains(name))
        m_items << name;
    emit StatusNotifierItemRegistered(name);
}

void TestStatusNotifierWatcher::dropItem(const QString &service, bool announce)
{
    m_items.removeAll(service);
    if (announce)
        emit StatusNotifierItemUnregistered(service);
}

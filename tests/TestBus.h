#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>

// A dbus-daemon of the test's own, so no other test or program shares its names.
class TestBus
{
public:
    TestBus();
    ~TestBus();

    bool isRunning() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    // A connection of this process to the bus, under a name unique to the bus.
    QDBusConnection connection() const;

private:
    QProcess m_daemon;
    QString m_address;
    QString m_connectionName;
};

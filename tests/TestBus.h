#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>

#include <memory>

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

    struct Stop
    {
        void operator()(QProcess *process) const;
    };
    using Service = std::unique_ptr<QProcess, Stop>;
    // Starts `program` (a stand-in service) with this bus's address and `arguments`,
    // in a process of its own so it answers while a test waits in a blocking call;
    // null unless it said it is ready.
    Service serve(const QString &program, const QStringList &arguments) const;

private:
    QProcess m_daemon;
    QString m_address;
    QString m_connectionName;
};

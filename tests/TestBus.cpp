#include "TestBus.h"

#include <QUuid>

TestBus::TestBus()
    : m_connectionName(QUuid::createUuid().toString())
{
    m_daemon.start(QStringLiteral("dbus-daemon"),
        {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
            QStringLiteral("--print-address")});
    if (!m_daemon.waitForStarted(5000))
        return;
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) { }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    if (!m_address.isEmpty())
        QDBusConnection::connectToBus(m_address, m_connectionName);
}

TestBus::~TestBus()
{
    QDBusConnection::disconnectFromBus(m_connectionName);
    m_daemon.terminate();
    m_daemon.waitForFinished(3000);
}

QDBusConnection TestBus::connection() const
{
    return QDBusConnection(m_connectionName);
}

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

void TestBus::Stop::operator()(QProcess *process) const
{
    process->kill();
    process->waitForFinished(3000);
    delete process;
}

TestBus::Service TestBus::serve(const QString &program, const QStringList &arguments) const
{
    Service process(new QProcess);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(program, QStringList {m_address} + arguments);
    while (process->waitForStarted(5000) && !process->canReadLine()
        && process->waitForReadyRead(5000)) { }
    if (process->readLine().trimmed() != "ready")
        process.reset();
    return process;
}

#include "TestServices.h"

TestServices::TestServices(const QString &busAddress, const QStringList &specs)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(DAYSTRIDE_TEST_SERVICE), QStringList {busAddress} + specs);
    if (!m_process.waitForStarted(5000))
        return;
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) { }
    m_ready = m_process.readLine().trimmed() == "ready";
}

TestServices::~TestServices()
{
    stop();
}

void TestServices::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    m_process.waitForFinished(3000);
}

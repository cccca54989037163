#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Stand-in desktop services in a process of their own (tests/services), so they
// answer while the test's main thread waits in a blocking call.
class TestServices
{
public:
    // `specs` as tests/services/main.cpp reads them, e.g. {"mutter=1500"}.
    TestServices(const QString &busAddress, const QStringList &specs);
    ~TestServices();

    bool isReady() const { return m_ready; }
    // Ends the process; its names leave the bus with it.
    void stop();

private:
    QProcess m_process;
    bool m_ready = false;
};

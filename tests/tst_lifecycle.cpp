#include "TestEnvironment.h"

#include <QProcess>
#include <QTest>

#include <csignal>

// The program as a whole: it starts, stays up in its event loop, and leaves
// cleanly when asked to by a signal.
class TestLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void quitsCleanlyOnSignal_data();
    void quitsCleanlyOnSignal();
};

void TestLifecycle::quitsCleanlyOnSignal_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
}

void TestLifecycle::quitsCleanlyOnSignal()
{
    QFETCH(int, signalNumber);
    TestEnvironment env;

    QProcess daystride;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", env.configHome());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // No session bus: the program runs anyway.
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    daystride.setProcessEnvironment(environment);
    daystride.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daystride.start(QStringLiteral(DAYSTRIDE_EXECUTABLE), {});
    QVERIFY(daystride.waitForStarted());
    // Still running after a while: it waits in its event loop.
    QVERIFY(!daystride.waitForFinished(1500));

    ::kill(pid_t(daystride.processId()), signalNumber);
    QVERIFY(daystride.waitForFinished(10000));
    QCOMPARE(daystride.exitStatus(), QProcess::NormalExit);
    QCOMPARE(daystride.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"

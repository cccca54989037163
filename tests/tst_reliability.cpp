#include "TestBus.h"
#include "TestStatusNotifierWatcher.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>

// The program under conditions users meet by accident: something other than a file
// at the settings path, no session bus, paths with spaces and non-ASCII letters;
// and it always leaves cleanly when a signal asks it to.
class TestReliability : public QObject
{
    Q_OBJECT

private slots:
    void startsAndQuitsCleanly_data()
    {
        QTest::addColumn<int>("type"); // what is at the settings path
        QTest::addColumn<QString>("folder"); // under which the settings and the program lie
        QTest::addColumn<bool>("sessionBus");
        QTest::addColumn<int>("signalNumber");
        // A FIFO would block the start for ever if it were opened.
        QTest::newRow("FIFO at the settings path") << int(S_IFIFO) << "" << true << SIGTERM;
        QTest::newRow("folder at the settings path") << int(S_IFDIR) << "" << true << SIGTERM;
        QTest::newRow("no session bus") << int(S_IFREG) << "" << false << SIGINT;
        QTest::newRow("spaces and accents in the paths")
            << int(S_IFREG) << "/Mes réglages de l'été" << true << SIGINT;
    }

    void startsAndQuitsCleanly()
    {
        QFETCH(int, type);
        QFETCH(QString, folder);
        QFETCH(bool, sessionBus);
        TestBus bus;
        TestStatusNotifierWatcher watcher(bus.connection());
        QVERIFY(bus.isRunning() && watcher.start());
        QTemporaryDir root;
        const QString configHome = root.path() + folder;
        QString program = QStringLiteral(DAYSTRIDE_EXECUTABLE);
        if (!folder.isEmpty()) {
            QVERIFY(QDir().mkpath(configHome + QStringLiteral("/Tâches à faire")));
            program = configHome + QStringLiteral("/Tâches à faire/daystride");
            QVERIFY(QFile::copy(QStringLiteral(DAYSTRIDE_EXECUTABLE), program));
        }
        const QString path = configHome + QStringLiteral("/Daystride/Daystride.conf");
        QVERIFY(QDir().mkpath(type == S_IFDIR ? path : configHome + QStringLiteral("/Daystride")));
        const QByteArray contents("[General]\nonboarded=true\nsavedEventName=Launch\n");
        QFile settings(path);
        if (type == S_IFIFO)
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (type == S_IFREG)
            QVERIFY(
                settings.open(QIODevice::WriteOnly) && settings.write(contents) == contents.size());
        settings.close();

        QProcess daystride;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
            sessionBus ? bus.address() : QStringLiteral("unix:path=/nonexistent"));
        daystride.setProcessEnvironment(env);
        daystride.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        daystride.start(program, {});
        QVERIFY(daystride.waitForStarted());
        if (sessionBus)
            QTRY_VERIFY_WITH_TIMEOUT(watcher.registrations() > 0, 10000);
        // Still running after a while: it waits in its event loop.
        QVERIFY(!daystride.waitForFinished(1000));

        QFETCH(int, signalNumber);
        ::kill(pid_t(daystride.processId()), signalNumber);
        QVERIFY(daystride.waitForFinished(10000));
        QCOMPARE(daystride.exitStatus(), QProcess::NormalExit);
        QCOMPARE(daystride.exitCode(), 0);
        // Nothing is saved at start or quit, and what is not a file stays as it was.
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(int(info.st_mode & S_IFMT), type);
        if (type == S_IFREG) {
            QVERIFY(settings.open(QIODevice::ReadOnly));
            QCOMPARE(settings.readAll(), contents);
        }
    }
};

QTEST_MAIN(TestReliability)
#include "tst_reliability.moc"

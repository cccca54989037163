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

    std::unique_ptr<TestBus> m_bus;
    std::unique_ptr<TestStatusNotifierWatcher> m_watcher;

private slots:
    void init()
    {
        m_bus = std::make_unique<TestBus>();
        QVERIFY(m_bus->isRunning());
        m_watcher = std::make_unique<TestStatusNotifierWatcher>(m_bus->connection());
        QVERIFY(m_watcher->start());
    }

    void cleanup()
    {
        m_watcher.reset();
        m_bus.reset();
    }

    void startsAndQuitsCleanly_data()
    {
        QTest::addColumn<QString>("settingsPath"); // what is there: "file", "fifo" or "folder"
        QTest::addColumn<bool>("oddPaths");
        QTest::addColumn<bool>("sessionBus");
        QTest::addColumn<int>("signalNumber");
        // A FIFO would block the start for ever if it were opened.
        QTest::newRow("FIFO at the settings path") << "fifo" << false << true << SIGTERM;
        QTest::newRow("folder at the settings path") << "folder" << false << true << SIGTERM;
        QTest::newRow("no session bus") << "file" << false << false << SIGINT;
        QTest::newRow("spaces and accents in the paths") << "file" << true << true << SIGINT;
    }

    void startsAndQuitsCleanly()
    {
        QFETCH(QString, settingsPath);
        QFETCH(bool, oddPaths);
        QFETCH(bool, sessionBus);
        QFETCH(int, signalNumber);
        QTemporaryDir root;
        QString program = QStringLiteral(DAYSTRIDE_EXECUTABLE);
        QString configHome = root.path();
        if (oddPaths) {
            const QString programDir
                = root.path() + QStringLiteral("/Mes programmes/Tâches à faire");
            configHome = root.path() + QStringLiteral("/réglages de l'été");
            QVERIFY(QDir().mkpath(programDir));
            program = programDir + QStringLiteral("/daystride");
            QVERIFY(QFile::copy(QStringLiteral(DAYSTRIDE_EXECUTABLE), program));
            QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        }
        QVERIFY(QDir().mkpath(configHome + QStringLiteral("/Daystride")));
        const QString path = configHome + QStringLiteral("/Daystride/Daystride.conf");
        const QByteArray contents("[General]\nonboarded=true\nsavedEventName=Launch\n");
        QFile settings(path);
        if (settingsPath == u"fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (settingsPath == u"folder") {
            QVERIFY(QDir().mkpath(path));
        } else {
            QVERIFY(settings.open(QIODevice::WriteOnly));
            settings.write(contents);
            settings.close();
        }

        QProcess daystride;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
            sessionBus ? m_bus->address() : QStringLiteral("unix:path=/nonexistent"));
        daystride.setProcessEnvironment(env);
        daystride.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        daystride.start(program, {});
        QVERIFY(daystride.waitForStarted());
        if (sessionBus)
            QTRY_VERIFY_WITH_TIMEOUT(m_watcher->registrations() > 0, 10000);
        // Still running after a while: it waits in its event loop.
        QVERIFY(!daystride.waitForFinished(1000));

        ::kill(pid_t(daystride.processId()), signalNumber);
        QVERIFY(daystride.waitForFinished(10000));
        QCOMPARE(daystride.exitStatus(), QProcess::NormalExit);
        QCOMPARE(daystride.exitCode(), 0);
        // Nothing is saved at start or quit, and what is not a file stays as it was.
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        if (settingsPath == u"fifo") {
            QVERIFY(S_ISFIFO(info.st_mode));
        } else if (settingsPath == u"folder") {
            QVERIFY(S_ISDIR(info.st_mode));
        } else {
            QVERIFY(settings.open(QIODevice::ReadOnly));
            QCOMPARE(settings.readAll(), contents);
        }
    }
};

QTEST_MAIN(TestReliability)
#include "tst_reliability.moc"

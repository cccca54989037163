#include "FakePlatform.h"
#include "TestBus.h"
#include "TestEnvironment.h"
#include "TestStatusNotifierWatcher.h"
#include "model/TimerViewModel.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// The program under conditions users meet by accident: damaged settings, a settings
// folder it cannot write, no session bus, two starts at once, paths with spaces and
// non-ASCII letters; and it always leaves cleanly when a signal asks it to.
class TestReliability : public QObject
{
    Q_OBJECT

    QProcessEnvironment environment(const QString &configHome) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus->address());
        return env;
    }

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
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("oddPaths");
        QTest::addColumn<bool>("sessionBus");
        QTest::addColumn<int>("signalNumber");
        const QByteArray finished("[General]\nonboarded=true\nsavedEventName=Launch\n");
        QTest::newRow("binary garbage")
            << QByteArray("\x00\xff\xfe[\x01\x02\n\x7f=\x80", 12) << false << true << SIGTERM;
        QTest::newRow("truncated header")
            << QByteArray("[General\nsavedEventName=Laun") << false << true << SIGTERM;
        QTest::newRow("truncated value")
            << QByteArray("[General]\ntodos=\"[{\\\"id\\\":\\\"12") << false << true << SIGTERM;
        // Every key holding a value of the wrong kind.
        QTest::newRow("wrong kinds") << QByteArray(
            "[General]\nonboarded=maybe\nsavedDate=@ByteArray(xyz)\n"
            "savedEventName=@DateTime(garbage)\nsubtitle=@Variant(\\0\\0\\0\\x7f)\n"
            "todos=12\nquotes=true\nidleEnabled=@ByteArray(\\0)\nidleMinutes=@Rect(1 2 "
            "3 4)\n") << false << true
                                     << SIGTERM;
        QTest::newRow("no session bus") << finished << false << false << SIGINT;
        QTest::newRow("spaces and accents in the paths") << finished << true << true << SIGINT;
    }

    void startsAndQuitsCleanly()
    {
        QFETCH(QByteArray, contents);
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
        QFile settings(configHome + QStringLiteral("/Daystride/Daystride.conf"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write(contents);
        settings.close();

        QProcess daystride;
        QProcessEnvironment env = environment(configHome);
        if (!sessionBus)
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                QStringLiteral("unix:path=/nonexistent"));
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
        // Nothing is saved at start or quit: a damaged file is still there as it was.
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), contents);
    }

    void unwritableSettingsKeepTheEditsInMemory()
    {
        TestEnvironment env;
        // A file where the settings folder should be: no one, root included, can write.
        QDir(env.configHome()).rmpath(QStringLiteral("Daystride"));
        QFile blocker(env.configHome() + QStringLiteral("/Daystride"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        FakePlatform platform;
        TimerViewModel model(platform);
        model.setEventName(QStringLiteral("Still here"));
        model.save();
        QCOMPARE(model.eventName(), QStringLiteral("Still here"));
        model.setSubtitle(QStringLiteral("and this"));
        model.save();
        QCOMPARE(model.subtitle(), QStringLiteral("and this"));
        // Nothing claims to be on disk.
        QVERIFY(QFileInfo(blocker.fileName()).isFile());
        QCOMPARE(QFileInfo(blocker.fileName()).size(), 0);
    }

    void twoStartsAtOnceLeaveOneInstance()
    {
        TestEnvironment env;
        env.writeSettingsFile("[General]\nonboarded=true\n");
        QProcess first;
        QProcess second;
        for (QProcess *process : {&first, &second}) {
            process->setProcessEnvironment(environment(env.configHome()));
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        }
        first.start(QStringLiteral(DAYSTRIDE_EXECUTABLE), {});
        second.start(QStringLiteral(DAYSTRIDE_EXECUTABLE), {});
        QVERIFY(first.waitForStarted());
        QVERIFY(second.waitForStarted());

        // One of them hands over and leaves; the other stays in the panel.
        QTRY_VERIFY_WITH_TIMEOUT(
            (first.state() == QProcess::NotRunning) != (second.state() == QProcess::NotRunning),
            10000);
        QTest::qWait(1000);
        QProcess &left = first.state() == QProcess::NotRunning ? first : second;
        QProcess &stayed = first.state() == QProcess::NotRunning ? second : first;
        QCOMPARE(stayed.state(), QProcess::Running);
        QCOMPARE(left.exitStatus(), QProcess::NormalExit);
        QCOMPARE(left.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_watcher->registeredItems().size() == 1, 10000);
        stayed.terminate();
        QVERIFY(stayed.waitForFinished(5000));
    }
};

QTEST_MAIN(TestReliability)
#include "tst_reliability.moc"

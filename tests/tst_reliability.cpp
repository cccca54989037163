#include "TestBus.h"
#include "TestStatusNotifierWatcher.h"
#include "platform/SettingsStore.h"

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

    // The text for bars that run a command, read from the stored settings: once, as
    // JSON, and followed while the running program saves.
    void statusForBars_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<qint64>("secondsLeft");
        QTest::addColumn<QStringList>("lines"); // then, after a save of 3 hours left
        const qint64 twelveDays = ((12 * 24 + 4) * 60 + 5) * 60 + 30;
        QTest::newRow("text") << QStringList {"--status"} << twelveDays
                              << QStringList {"12d 4h 5m"};
        QTest::newRow("JSON, passed")
            << QStringList {"--status", "--json"} << qint64(-60)
            << QStringList {R"({"class":"passed","text":"","tooltip":"Launch"})"};
        QTest::newRow("followed as JSON")
            << QStringList {"--status", "--follow", "--json"} << twelveDays
            << QStringList {R"({"class":"running","text":"12d 4h 5m","tooltip":"Launch"})",
                   R"({"class":"running","text":"3h","tooltip":"Launch"})"};
    }

    void statusForBars()
    {
        QFETCH(QStringList, arguments);
        QFETCH(qint64, secondsLeft);
        QFETCH(QStringList, lines);
        QTemporaryDir configHome;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
        const auto save = [](qint64 seconds) {
            SettingsStore store;
            store.setDate(
                QStringLiteral("savedDate"), QDateTime::currentDateTime().addSecs(seconds));
            store.setString(QStringLiteral("savedEventName"), QStringLiteral("Launch"));
            return store.sync();
        };
        QVERIFY(save(secondsLeft));

        QProcess status;
        status.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        status.start(QStringLiteral(DAYSTRIDE_EXECUTABLE), arguments);
        QVERIFY(status.waitForStarted());
        QStringList printed;
        const auto read = [&] {
            while (status.canReadLine())
                printed.append(QString::fromUtf8(status.readLine()).chopped(1));
            return printed.size();
        };
        QTRY_COMPARE_WITH_TIMEOUT(read(), 1, 10000);
        if (lines.size() > 1) {
            QVERIFY(save(3 * 3600 + 30));
            QTRY_COMPARE_WITH_TIMEOUT(read(), 2, 10000);
            status.kill();
        }
        QVERIFY(status.waitForFinished(10000) || status.state() == QProcess::NotRunning);
        read();
        QCOMPARE(printed, lines);
    }
};

QTEST_MAIN(TestReliability)
#include "tst_reliability.moc"

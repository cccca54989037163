#include "TestBus.h"
#include "TestEnvironment.h"
#include "TestStatusNotifierWatcher.h"
#include "XTools.h"
#include "platform/statusnotifier/StatusNotifierTypes.h"

#include <QDBusInterface>
#include <QDBusMessage>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The panel text follows the wall clock, end to end: the program under libfaketime,
// whose clock the test moves through the timestamp file, on the real X server with a
// session bus of the test's own (a StatusNotifierWatcher on it) and a system bus of
// the test's own, on which the test stands in for logind and timedated.
//
// The program runs with TZ=Europe/Lisbon, except where the system's zone changes
// under it: there it runs with TZ unset in a mount namespace of its own (unshare)
// whose /etc/localtime is a copy of Lisbon's zone file kept by the test; the zone then
// becomes Tokyo's, either by rewriting that file or by mounting Tokyo's over it in the
// program's namespace (which the program cannot see happen, only hear from timedated).
class TestWallClock : public QObject
{
    Q_OBJECT

    // The event: 30 March 2027, 12:05 UTC, two days after Lisbon moves to summer time.
    const QDateTime m_event = QDateTime(QDate(2027, 3, 30), QTime(12, 5), Qt::UTC);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TestBus> m_bus;
    std::unique_ptr<TestBus> m_systemBus;
    std::unique_ptr<TestStatusNotifierWatcher> m_watcher;
    QTemporaryDir m_files;
    QProcess m_daystride;
    qint64 m_clockOffset = 0; // seconds the faked clock is ahead of the real one

    QString clockFile() const { return m_files.filePath(u"clock"_s); }
    QString zoneFile() const { return m_files.filePath(u"localtime"_s); }

    void setClockOffset(qint64 seconds)
    {
        m_clockOffset = seconds;
        QFile file(clockFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(seconds).prepend(seconds < 0 ? "" : "+") + '\n');
    }

    // Real milliseconds since the epoch at which the faked clock reads `fake`.
    qint64 realAt(const QDateTime &fake) const
    {
        return fake.toMSecsSinceEpoch() - m_clockOffset * 1000;
    }

    void startDaystride(const QDateTime &fakeNow, bool ownZone)
    {
        setClockOffset(QDateTime::currentDateTimeUtc().secsTo(fakeNow));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, m_env->configHome());
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_bus->address());
        environment.insert(u"DBUS_SYSTEM_BUS_ADDRESS"_s, m_systemBus->address());
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        environment.insert(u"LD_PRELOAD"_s, QStringLiteral(DAYSTRIDE_LIBFAKETIME));
        environment.insert(u"FAKETIME_TIMESTAMP_FILE"_s, clockFile());
        environment.insert(u"FAKETIME_NO_CACHE"_s, u"1"_s);
        // Qt's timers keep the real pace; only the wall clock is faked.
        environment.insert(u"FAKETIME_DONT_FAKE_MONOTONIC"_s, u"1"_s);
        // Under the sanitizers the preloaded library comes before their runtime.
        environment.insert(u"ASAN_OPTIONS"_s,
            environment.value(u"ASAN_OPTIONS"_s) + u":verify_asan_link_order=0"_s);
        QString program = QStringLiteral(DAYSTRIDE_EXECUTABLE);
        QStringList arguments;
        if (ownZone) {
            environment.remove(u"TZ"_s);
            QFile::remove(zoneFile());
            QVERIFY(QFile::copy(u"/usr/share/zoneinfo/Europe/Lisbon"_s, zoneFile()));
            // Older than any rewrite: the C library knows a changed file by its time.
            QFile copy(zoneFile());
            QVERIFY(copy.open(QIODevice::ReadWrite));
            QVERIFY(copy.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC),
                QFileDevice::FileModificationTime));
            arguments = {u"-rm"_s, u"sh"_s, u"-c"_s,
                u"mount --bind \"$0\" /etc/localtime && exec \"$1\""_s, zoneFile(), program};
            program = u"unshare"_s;
        }
        m_daystride.setProcessEnvironment(environment);
        m_daystride.setProcessChannelMode(QProcess::ForwardedChannels);
        m_daystride.start(program, arguments);
        QVERIFY(m_daystride.waitForStarted());
        QVERIFY2(QTest::qWaitFor(
                     [&] { return m_watcher->registeredItems().contains(itemService()); }, 10000),
            "not in the panel");
    }

    QString itemService() const
    {
        return u"org.kde.StatusNotifierItem-%1-1"_s.arg(m_daystride.processId());
    }

    QString label() const
    {
        QDBusInterface item(itemService(), u"/StatusNotifierItem"_s,
            u"org.kde.StatusNotifierItem"_s, m_bus->connection());
        return item.property("XAyatanaLabel").toString();
    }

    // How long the label took to read `text`, from `since` (real ms since the epoch).
    qint64 waitForLabel(const QString &text, qint64 since)
    {
        const int timeout = int(since + 3000 - QDateTime::currentMSecsSinceEpoch());
        if (!QTest::qWaitFor([&] { return label() == text; }, timeout))
            return -1;
        return QDateTime::currentMSecsSinceEpoch() - since;
    }

    void sendSystemSignal(const QString &path, const QString &interface, const QString &name,
        const QVariantList &arguments)
    {
        QDBusMessage message = QDBusMessage::createSignal(path, interface, name);
        message.setArguments(arguments);
        QVERIFY(m_systemBus->connection().send(message));
    }

    // As a user renames the event in the popover: the name field has the focus.
    void renameInPopover()
    {
        QDBusInterface item(itemService(), u"/StatusNotifierItem"_s,
            u"org.kde.StatusNotifierItem"_s, m_bus->connection());
        item.call(u"Activate"_s, 1700, 12);
        QTRY_COMPARE_WITH_TIMEOUT(visibleWindows(u"Daystride"_s).size(), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), visibleWindows(u"Daystride"_s).first(), 5000);
        QVERIFY(xdotool({u"type"_s, u"!"_s}));
        QVERIFY(xdotool({u"key"_s, u"Return"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(visibleWindows(u"Daystride"_s).isEmpty(), 5000);
    }

private slots:
    void init()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that scripts/test starts");
        if (!QFile::exists(QStringLiteral(DAYSTRIDE_LIBFAKETIME)))
            QSKIP("needs libfaketime");
        registerStatusNotifierTypes();
        m_env = std::make_unique<TestEnvironment>();
        m_bus = std::make_unique<TestBus>();
        m_systemBus = std::make_unique<TestBus>();
        QVERIFY(m_bus->isRunning() && m_systemBus->isRunning());
        m_watcher = std::make_unique<TestStatusNotifierWatcher>(m_bus->connection());
        QVERIFY(m_watcher->start());
        for (const char *name : {"org.freedesktop.login1", "org.freedesktop.timedate1"})
            QVERIFY(m_systemBus->connection().registerService(QString::fromLatin1(name)));
        m_env->writeSettings(
            {{"onboarded", true}, {"savedEventName", "Launch"}, {"savedDate", m_event}});
    }

    void cleanup()
    {
        if (m_daystride.state() != QProcess::NotRunning) {
            m_daystride.terminate();
            m_daystride.waitForFinished(5000);
        }
        m_watcher.reset();
        m_systemBus.reset();
        m_bus.reset();
        m_env.reset();
    }

    // The text turns within a moment of the minute turning, and at once when the
    // clock jumps or the zone changes, rather than at a tick counted from the start.
    void panelTextFollowsTheClock_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        const QDate day(2027, 3, 27);
        // Lisbon counts the day that loses an hour; Tokyo has no summer time.
        QTest::newRow("minute turns")
            << "minute" << QDateTime(day, QTime(11, 59, 45), Qt::UTC) << "3d 1h 5m"
            << "3d 1h 4m";
        QTest::newRow("back from sleep, the clock 8 hours on")
            << "sleep" << QDateTime(day, QTime(11, 59, 20), Qt::UTC) << "3d 1h 5m"
            << "2d 17h 5m";
        QTest::newRow("zone file rewritten, Lisbon to Tokyo")
            << "zone file" << QDateTime(day, QTime(11, 59, 20), Qt::UTC) << "3d 1h 5m"
            << "3d 5m";
        QTest::newRow("zone announced by timedated, Lisbon to Tokyo")
            << "timedated" << QDateTime(day, QTime(11, 59, 20), Qt::UTC) << "3d 1h 5m"
            << "3d 5m";
    }

    void panelTextFollowsTheClock()
    {
        QFETCH(QString, how);
        QFETCH(QDateTime, start);
        QFETCH(QString, before);
        QFETCH(QString, after);
        const bool zone = how == u"zone file" || how == u"timedated";
        startDaystride(start, zone);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(label(), before);

        qint64 from = QDateTime::currentMSecsSinceEpoch();
        if (how == u"minute") {
            from = realAt(QDateTime(start.date(), QTime(12, 0), Qt::UTC));
            QVERIFY2(QDateTime::currentMSecsSinceEpoch() < from, "started too late to see it");
        } else if (how == u"sleep") {
            setClockOffset(m_clockOffset + 8 * 3600);
            sendSystemSignal(u"/org/freedesktop/login1"_s, u"org.freedesktop.login1.Manager"_s,
                u"PrepareForSleep"_s, {false});
        } else if (how == u"zone file") {
            QFile file(zoneFile());
            QFile tokyo(u"/usr/share/zoneinfo/Asia/Tokyo"_s);
            QVERIFY(file.open(QIODevice::WriteOnly) && tokyo.open(QIODevice::ReadOnly));
            file.write(tokyo.readAll());
        } else {
            QProcess mount;
            mount.start(u"nsenter"_s,
                {u"-t"_s, QString::number(m_daystride.processId()), u"-U"_s, u"-m"_s, u"mount"_s,
                    u"--bind"_s, u"/usr/share/zoneinfo/Asia/Tokyo"_s, u"/etc/localtime"_s});
            QVERIFY(mount.waitForFinished() && mount.exitCode() == 0);
            QTest::qWait(1500);
            QCOMPARE(label(), before); // nothing told the program yet
            from = QDateTime::currentMSecsSinceEpoch();
            sendSystemSignal(u"/org/freedesktop/timedate1"_s, u"org.freedesktop.DBus.Properties"_s,
                u"PropertiesChanged"_s,
                {u"org.freedesktop.timedate1"_s, QVariantMap {{u"Timezone"_s, u"Asia/Tokyo"_s}},
                    QStringList()});
        }
        const qint64 took = waitForLabel(after, from);
        QVERIFY2(took >= 0, qPrintable(u"still "_s + label()));
        qInfo("%s: the new text %lld ms after", qPrintable(how), took);

        if (!zone)
            return;
        // The event is an instant: the new zone shows it otherwise, a rename keeps it.
        renameInPopover();
        QTRY_COMPARE(m_env->stored(u"savedEventName"_s).toString(), u"Launch!"_s);
        QCOMPARE(m_env->stored(u"savedDate"_s).toDateTime(), m_event);
    }
};

QTEST_MAIN(TestWallClock)
#include "tst_wallclock.moc"

#include "TestBus.h"
#include "platform/DisplaySleepAssertions.h"
#include "platform/IdleTime.h"
#include "platform/SessionLock.h"

#include <QDBusMessage>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

using Assertions = QMap<QString, qint64>;
using Source = std::optional<IdleTime::Source>;
Q_DECLARE_METATYPE(Source)

using Services = TestBus::Service;

// Stand-in services (tests/services); their names go with the start.
Services serve(const TestBus &bus, const QStringList &services)
{
    return bus.serve(QStringLiteral(DAYSTRIDE_TEST_SERVICE), services);
}

// Idle time and inhibitors from stand-ins on a private session and system bus. With
// DISPLAY empty, only the D-Bus sources can answer.
class TestPlatformBus : public QObject
{
    Q_OBJECT

    TestBus m_session;
    TestBus m_system;

private slots:
    void initTestCase()
    {
        QVERIFY(m_session.isRunning() && m_system.isRunning());
        // Before anything in this process opens the default buses.
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_session.address().toUtf8());
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_system.address().toUtf8());
    }

    void idleSources_data()
    {
        QTest::addColumn<IdleTime::Session>("session");
        QTest::addColumn<QStringList>("services");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<Source>("source");

        const auto wayland = IdleTime::Session::Wayland;
        const Source mutter = IdleTime::Source::MutterIdleMonitor;
        const Source screenSaver = IdleTime::Source::ScreenSaver;
        QTest::newRow("nothing answers") << wayland << QStringList() << std::nan("") << Source();
        QTest::newRow("mutter before screen saver")
            << wayland << QStringList {"mutter=1500", "screensaver=2500"} << 1.5 << mutter;
        QTest::newRow("mutter never answers")
            << wayland << QStringList {"silent=org.gnome.Mutter.IdleMonitor", "screensaver=2500"}
            << 2.5 << screenSaver;
        QTest::newRow("x11 session without an X server")
            << IdleTime::Session::X11 << QStringList {"mutter=60000"} << 60.0 << mutter;
    }

    void idleSources()
    {
        QFETCH(IdleTime::Session, session);
        QFETCH(QStringList, services);
        const Services running = serve(m_session, services);
        QVERIFY(running);
        IdleTime idle(session, m_session.connection());
        QElapsedTimer clock;
        clock.start();
        const double answer = idle.idleSeconds();
        // A service that never answers costs one short timeout, not the bus's 25 seconds.
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        // Counted on from the reading: a little more by the time it is answered.
        QFETCH(double, seconds);
        QVERIFY2(std::isnan(seconds) ? std::isnan(answer) : qAbs(answer - seconds) < 0.25,
            qPrintable(QString::number(answer)));
        QFETCH(Source, source);
        QVERIFY(idle.source() == source);
    }

    void idleSourceIsKeptAndChosenAfresh()
    {
        Services mutter = serve(m_session, {"mutter=1000"});
        Services screenSaver = serve(m_session, {"screensaver=2000"});
        QVERIFY(mutter && screenSaver);
        IdleTime idle(IdleTime::Session::Wayland, m_session.connection());
        QVERIFY(qAbs(idle.idleSeconds() - 1.0) < 0.25);

        // The shell went away: the next query finds the other source.
        mutter.reset();
        QTRY_COMPARE(idle.idleSeconds(), 2.0);
        QVERIFY(idle.source() == IdleTime::Source::ScreenSaver);

        // Kept while it answers, even when the first choice is back.
        mutter = serve(m_session, {"mutter=3000"});
        QVERIFY(mutter);
        QCOMPARE(idle.idleSeconds(), 2.0);
        screenSaver.reset();
        QVERIFY(qAbs(idle.idleSeconds() - 3.0) < 0.25);
    }

    // GNOME's idle monitor is read once; after that its watch tells of the first input,
    // and cheap questions are answered on the program's own clock, not over the bus.
    void mutterIdleIsReadOnceAndWatched()
    {
        const Services mutter = serve(m_session, {"mutter=400000"});
        QVERIFY(mutter);
        IdleTime idle(IdleTime::Session::Wayland, m_session.connection());
        const auto call = [&](const QString &method) {
            return m_session.connection().call(
                QDBusMessage::createMethodCall(QStringLiteral("org.gnome.Mutter.IdleMonitor"),
                    QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
                    QStringLiteral("org.gnome.Mutter.IdleMonitor"), method),
                QDBus::Block, 2000);
        };
        const auto readings = [&] {
            return call(QStringLiteral("Readings")).arguments().value(0);
        };
        QVERIFY(qAbs(idle.idleSeconds(IdleQuery::Cheap) - 400.0) < 0.5);
        QTest::qWait(600);
        QVERIFY(idle.idleSeconds(IdleQuery::Cheap) > 400.5);
        QCOMPARE(readings(), QVariant(1u));

        call(QStringLiteral("Input"));
        QTRY_VERIFY(idle.idleSeconds(IdleQuery::Cheap) < 0.5);
        QCOMPARE(readings(), QVariant(1u));
        // Asked before covering the screens: the monitor's own word.
        QVERIFY(qAbs(idle.idleSeconds(IdleQuery::Fresh) - 400.0) < 0.5);
        QCOMPARE(readings(), QVariant(2u));
    }

    void assertions_data()
    {
        QTest::addColumn<QStringList>("session");
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<Assertions>("expected");

        const QString prevent = QStringLiteral("PreventUserIdleDisplaySleep");
        const QString noSleep = QStringLiteral("NoDisplaySleepAssertion");
        QTest::newRow("session manager inhibits only logout")
            << QStringList {"session=1"} << QStringList() << Assertions {{prevent, 0}};
        QTest::newRow("session manager answers before power management")
            << QStringList {"session=0", "power=1"} << QStringList() << Assertions {{prevent, 0}};
        QTest::newRow("power management")
            << QStringList {"power=1"} << QStringList() << Assertions {{prevent, 1}};
        QTest::newRow("logind: idle blocked among others")
            << QStringList()
            << QStringList {"logind=sleep/delay,shutdown/block,handle-lid-switch:idle:sleep/block"}
            << Assertions {{noSleep, 1}};
        QTest::newRow("logind: idle only delayed, sleep blocked")
            << QStringList() << QStringList {"logind=idle/delay,sleep/block,idle-hint/block"}
            << Assertions {{noSleep, 0}};
        QTest::newRow("logind never answers")
            << QStringList {"session=8"} << QStringList {"silent=org.freedesktop.login1"}
            << Assertions {{prevent, 1}};
        QTest::newRow("logind refuses, the session manager holds")
            << QStringList {"session=8"} << QStringList {"deny=org.freedesktop.login1"}
            << Assertions {{prevent, 1}};
        QTest::newRow("session manager refuses, logind holds")
            << QStringList {"deny=org.gnome.SessionManager"} << QStringList {"logind=idle/block"}
            << Assertions {{noSleep, 1}};
        QTest::newRow("session manager refuses, power management holds")
            << QStringList {"deny=org.gnome.SessionManager", "power=1"} << QStringList()
            << Assertions {{prevent, 1}};
    }

    void assertions()
    {
        QFETCH(QStringList, session);
        QFETCH(QStringList, system);
        const Services sessionServices = serve(m_session, session);
        const Services systemServices = serve(m_system, system);
        QVERIFY(sessionServices && systemServices);
        DisplaySleepAssertions assertions(m_session.connection(), m_system.connection());
        QTEST(assertions.query(), "expected");
    }

    // Each place a desktop tells of its lock: asked when a cover is about to go up,
    // and followed while one is up. The stand-ins start unlocked and are then locked
    // as their desktop would do it.
    void sessionLock_data()
    {
        QTest::addColumn<QStringList>("session");
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QStringList>("lockCall"); // bus, service, path, interface, method

        const QString fdo = QStringLiteral("org.freedesktop.ScreenSaver");
        const QString gnome = QStringLiteral("org.gnome.ScreenSaver");
        const QString login = QStringLiteral("org.freedesktop.login1");
        const QString session = QStringLiteral("/org/freedesktop/login1/session/_31");
        QTest::newRow("freedesktop screen saver (KDE, XFCE, MATE, Cinnamon)")
            << QStringList {"lock=0"} << QStringList()
            << QStringList {"session", fdo, "/org/freedesktop/ScreenSaver", fdo, "SetActive"};
        QTest::newRow("KDE's second path")
            << QStringList {"lock=0"} << QStringList()
            << QStringList {"session", fdo, "/ScreenSaver", fdo, "SetActive"};
        QTest::newRow("GNOME") << QStringList {"gnomelock=0"} << QStringList()
                               << QStringList {"session", gnome, "/org/gnome/ScreenSaver", gnome,
                                      "SetActive"};
        QTest::newRow("logind's LockedHint")
            << QStringList() << QStringList {"loginsession=0"}
            << QStringList {"system", login, session, login + ".Session", "SetLockedHint"};
        QTest::newRow("logind's Lock, with a screen saver refusing")
            << QStringList {"deny=org.freedesktop.ScreenSaver"} << QStringList {"loginsession=0"}
            << QStringList {"system", login, session, login + ".Session", "Lock"};
    }

    void sessionLock()
    {
        QFETCH(QStringList, session);
        QFETCH(QStringList, system);
        QFETCH(QStringList, lockCall);
        const Services sessionServices = serve(m_session, session);
        const Services systemServices = serve(m_system, system);
        QVERIFY(sessionServices && systemServices);
        SessionLock lock(m_session.connection(), m_system.connection());
        QSignalSpy locked(&lock, &SessionLock::locked);
        QVERIFY(!lock.isLocked());

        const bool onSystem = lockCall.takeFirst() == u"system";
        QDBusMessage call = QDBusMessage::createMethodCall(
            lockCall.value(0), lockCall.value(1), lockCall.value(2), lockCall.value(3));
        if (lockCall.value(3) != u"Lock")
            call << true;
        const QDBusMessage reply
            = (onSystem ? m_system : m_session).connection().call(call, QDBus::Block, 2000);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE(locked.count(), 1);
        // logind's Lock asks the locker to lock; the hint says when it has.
        QCOMPARE(lock.isLocked(), lockCall.value(3) != u"Lock");
    }
};

QTEST_MAIN(TestPlatformBus)
#include "tst_platformbus.moc"

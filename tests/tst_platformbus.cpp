#include "TestBus.h"
#include "TestServices.h"
#include "platform/DisplaySleepAssertions.h"
#include "platform/IdleTime.h"
#include "platform/LinuxPlatform.h"

#include <QElapsedTimer>
#include <QTest>

#include <cmath>
#include <cstdio>

// Idle time and display-sleep inhibitors from stand-in desktop services on two
// private buses, one for the session and one in place of the system bus. No X
// server here (DISPLAY is empty), so only the D-Bus sources can answer.
class TestPlatformBus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void idleSources_data();
    void idleSources();
    void idleSourceIsKeptAndChosenAfresh();
    void assertions_data();
    void assertions();
    void platformUsesTheEnvironmentsBuses();

private:
    std::unique_ptr<TestBus> m_session;
    std::unique_ptr<TestBus> m_system;
};

using Assertions = QMap<QString, qint64>;

void TestPlatformBus::initTestCase()
{
    m_session = std::make_unique<TestBus>();
    m_system = std::make_unique<TestBus>();
    QVERIFY(m_session->isRunning());
    QVERIFY(m_system->isRunning());
    // Before anything in this process opens the default buses.
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_session->address().toUtf8());
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_system->address().toUtf8());
}

void TestPlatformBus::idleSources_data()
{
    QTest::addColumn<IdleTime::Session>("session");
    QTest::addColumn<QList<QStringList>>("services"); // one process each
    QTest::addColumn<double>("seconds");
    QTest::addColumn<IdleTime::Source>("source");

    const auto wayland = IdleTime::Session::Wayland;
    const double nan = std::nan("");
    QTest::newRow("nothing answers")
        << wayland << QList<QStringList>() << nan << IdleTime::Source::None;
    QTest::newRow("mutter") << wayland << QList<QStringList> {{"mutter=1500"}} << 1.5
                            << IdleTime::Source::MutterIdleMonitor;
    QTest::newRow("screen saver") << wayland << QList<QStringList> {{"screensaver=2500"}} << 2.5
                                  << IdleTime::Source::ScreenSaver;
    QTest::newRow("mutter before screen saver")
        << wayland << QList<QStringList> {{"mutter=1500", "screensaver=2500"}} << 1.5
        << IdleTime::Source::MutterIdleMonitor;
    QTest::newRow("mutter never answers")
        << wayland
        << QList<QStringList> {{"silent=org.gnome.Mutter.IdleMonitor"}, {"screensaver=2500"}} << 2.5
        << IdleTime::Source::ScreenSaver;
    QTest::newRow("mutter refuses")
        << wayland
        << QList<QStringList> {{"deny=org.gnome.Mutter.IdleMonitor"}, {"screensaver=2500"}} << 2.5
        << IdleTime::Source::ScreenSaver;
    QTest::newRow("x11 session without an X server")
        << IdleTime::Session::X11 << QList<QStringList> {{"mutter=60000"}} << 60.0
        << IdleTime::Source::MutterIdleMonitor;
}

void TestPlatformBus::idleSources()
{
    QFETCH(IdleTime::Session, session);
    QFETCH(QList<QStringList>, services);
    QFETCH(double, seconds);
    QFETCH(IdleTime::Source, source);

    std::vector<std::unique_ptr<TestServices>> running;
    for (const QStringList &specs : services) {
        running.push_back(std::make_unique<TestServices>(m_session->address(), specs));
        QVERIFY(running.back()->isReady());
    }
    IdleTime idle(session, m_session->connection());
    QElapsedTimer clock;
    clock.start();
    const double answer = idle.idleSeconds();
    const qint64 elapsed = clock.elapsed();
    std::printf("  idle query (%s): %lld ms\n", QTest::currentDataTag(), elapsed);
    if (std::isnan(seconds))
        QVERIFY(std::isnan(answer));
    else
        QCOMPARE(answer, seconds);
    QCOMPARE(idle.source(), source);
    // A peer that never answers costs one short timeout, not the bus's 25 seconds.
    QVERIFY2(elapsed < 5000, qPrintable(QString::number(elapsed)));
}

void TestPlatformBus::idleSourceIsKeptAndChosenAfresh()
{
    auto mutter = std::make_unique<TestServices>(m_session->address(), QStringList {"mutter=1000"});
    auto screenSaver
        = std::make_unique<TestServices>(m_session->address(), QStringList {"screensaver=2000"});
    QVERIFY(mutter->isReady() && screenSaver->isReady());
    IdleTime idle(IdleTime::Session::Wayland, m_session->connection());
    QCOMPARE(idle.idleSeconds(), 1.0);

    // The shell went away: the next query finds the other source.
    mutter->stop();
    QCOMPARE(idle.idleSeconds(), 2.0);
    QCOMPARE(idle.source(), IdleTime::Source::ScreenSaver);

    // Kept while it answers, even when the first choice is back.
    mutter = std::make_unique<TestServices>(m_session->address(), QStringList {"mutter=3000"});
    QVERIFY(mutter->isReady());
    QCOMPARE(idle.idleSeconds(), 2.0);

    screenSaver->stop();
    QCOMPARE(idle.idleSeconds(), 3.0);
    mutter->stop();
    QVERIFY(std::isnan(idle.idleSeconds()));
    QCOMPARE(idle.source(), IdleTime::Source::None);
}

void TestPlatformBus::assertions_data()
{
    QTest::addColumn<QStringList>("session");
    QTest::addColumn<QStringList>("system");
    QTest::addColumn<Assertions>("expected");

    const QString prevent = QStringLiteral("PreventUserIdleDisplaySleep");
    const QString noSleep = QStringLiteral("NoDisplaySleepAssertion");
    QTest::newRow("nothing on either bus") << QStringList() << QStringList() << Assertions();
    QTest::newRow("session manager inhibits idle")
        << QStringList {"session=8"} << QStringList() << Assertions {{prevent, 1}};
    QTest::newRow("session manager inhibits only logout")
        << QStringList {"session=1"} << QStringList() << Assertions {{prevent, 0}};
    QTest::newRow("session manager answers before power management")
        << QStringList {"session=0", "power=1"} << QStringList() << Assertions {{prevent, 0}};
    QTest::newRow("power management")
        << QStringList {"power=1"} << QStringList() << Assertions {{prevent, 1}};
    QTest::newRow("session manager never answers")
        << QStringList {"silent=org.gnome.SessionManager"} << QStringList() << Assertions();
    QTest::newRow("logind: idle blocked among others")
        << QStringList()
        << QStringList {"logind=sleep/delay,shutdown/block,handle-lid-switch:idle:sleep/block"}
        << Assertions {{noSleep, 1}};
    QTest::newRow("logind: idle only delayed, sleep blocked")
        << QStringList() << QStringList {"logind=idle/delay,sleep/block,idle-hint/block"}
        << Assertions {{noSleep, 0}};
    QTest::newRow("logind: no inhibitors")
        << QStringList() << QStringList {"logind="} << Assertions {{noSleep, 0}};
    QTest::newRow("both") << QStringList {"power=0"} << QStringList {"logind=idle/block"}
                          << Assertions {{prevent, 0}, {noSleep, 1}};
    QTest::newRow("logind never answers")
        << QStringList {"session=8"} << QStringList {"silent=org.freedesktop.login1"}
        << Assertions {{prevent, 1}};
    QTest::newRow("logind refuses: the query failed")
        << QStringList {"session=8"} << QStringList {"deny=org.freedesktop.login1"} << Assertions();
}

void TestPlatformBus::assertions()
{
    QFETCH(QStringList, session);
    QFETCH(QStringList, system);
    QFETCH(Assertions, expected);

    std::optional<TestServices> sessionServices;
    std::optional<TestServices> systemServices;
    if (!session.isEmpty()) {
        sessionServices.emplace(m_session->address(), session);
        QVERIFY(sessionServices->isReady());
    }
    if (!system.isEmpty()) {
        systemServices.emplace(m_system->address(), system);
        QVERIFY(systemServices->isReady());
    }
    DisplaySleepAssertions assertions(m_session->connection(), m_system->connection());
    QCOMPARE(assertions.query(), expected);
}

void TestPlatformBus::platformUsesTheEnvironmentsBuses()
{
    qputenv("XDG_SESSION_TYPE", "wayland");
    TestServices session(m_session->address(), {"mutter=4000", "session=8"});
    TestServices system(m_system->address(), {"logind=idle/block"});
    QVERIFY(session.isReady() && system.isReady());
    LinuxPlatform platform;
    QCOMPARE(platform.idleSeconds(), 4.0);
    QCOMPARE(platform.displaySleepAssertions(),
        (Assertions {{"PreventUserIdleDisplaySleep", 1}, {"NoDisplaySleepAssertion", 1}}));
}

QTEST_MAIN(TestPlatformBus)
#include "tst_platformbus.moc"

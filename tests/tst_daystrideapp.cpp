#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "menubar/DaystrideApp.h"
#include "menubar/PanelItem.h"
#include "model/TimerViewModel.h"
#include "screensaver/ScreensaverController.h"

#include <QTest>

// The application without a session bus: the panel text, the minute tick and the
// idle watch started with the panel item. Runs with TZ=America/New_York.
class TestDaystrideApp : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnvironment>(); }

    void panelTextFollowsTheMinuteTick_data()
    {
        QTest::addColumn<qint64>("secondsLeft");
        QTest::addColumn<qint64>("secondsLater");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("3 h 30 s, then below 3 h") << qint64(3 * 3600 + 30) << qint64(31) << "3h "
                                                  << "2h 59m";
        QTest::newRow("one minute, then under a minute") << qint64(60) << qint64(1) << "1m"
                                                         << "";
        QTest::newRow("passed") << qint64(-5) << qint64(60) << ""
                                << "";
    }

    void panelTextFollowsTheMinuteTick()
    {
        QFETCH(qint64, secondsLeft);
        QFETCH(qint64, secondsLater);
        QFETCH(QString, before);
        QFETCH(QString, after);
        const QDateTime now(QDate(2026, 11, 1), QTime(0, 30));
        m_env->writeSettings({{"onboarded", true}, {"savedDate", now.addSecs(secondsLeft)}});
        FakePlatform platform;
        platform.setNow(now);
        DaystrideApp app(platform);
        QVERIFY(app.start());
        QCOMPARE(app.panelItem()->text(), before);
        QVERIFY(app.minuteTimer().isActive());
        QVERIFY(app.viewModel().screensaver()->hasIdleTimer());

        // Time passes, nothing else happens: the text lags until the tick.
        platform.advance(secondsLater * 1000);
        QTest::qWait(20);
        QCOMPARE(app.panelItem()->text(), before);
        app.minuteTick();
        QTRY_COMPARE(app.panelItem()->text(), after);
    }
};

QTEST_MAIN(TestDaystrideApp)
#include "tst_daystrideapp.moc"

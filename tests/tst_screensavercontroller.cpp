#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "model/TimerViewModel.h"
#include "screensaver/CountdownView.h"
#include "screensaver/ScreensaverController.h"
#include "screensaver/ScreensaverWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>

#include <limits>
#include <memory>

using Assertions = QMap<QString, qint64>;
using Geometries = QList<QRect>;

namespace {

// Fails to create the covering window for the screen at `failAt`, and remembers
// every window it did create.
class FlakyPlatform : public FakePlatform
{
public:
    QWidget *createCoveringWindow(const QRect &geometry) override
    {
        if (created.size() == failAt)
            return nullptr;
        created.append(FakePlatform::createCoveringWindow(geometry));
        return created.last();
    }
    MonitorToken installInputMonitor(InputHandler handler) override
    {
        const MonitorToken token = FakePlatform::installInputMonitor(std::move(handler));
        if (token && grabFailsAtOnce)
            emit inputGrabFailed(token);
        return token;
    }
    qsizetype failAt = -1;
    bool grabFailsAtOnce = false;
    QList<QPointer<QWidget>> created;
};

std::unique_ptr<QEvent> makeInput(QEvent::Type type, Qt::MouseButton button = Qt::NoButton)
{
    const QPointF pos(100, 100);
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return std::make_unique<QKeyEvent>(type, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    case QEvent::Wheel:
        return std::make_unique<QWheelEvent>(pos, pos, QPoint(), QPoint(0, 120), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
    default:
        return std::make_unique<QMouseEvent>(type, pos, pos, button,
            type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
    }
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestScreensaverController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pollDecidesOnIdleTimeAndAssertions_data();
    void pollDecidesOnIdleTimeAndAssertions();
    void enablingTakesEffectAtTheNextTickOfTheSameTimer();
    void tickWhileShownDoesNothing();
    void startingTwiceKeepsOneTimerAndItsFirstTick();
    void showCoversEveryScreenInOrder_data();
    void showCoversEveryScreenInOrder();
    void showingTwiceStacksNothing();
    void inputAfterTheGraceCloses_data();
    void inputAfterTheGraceCloses();
    void dismissWhileHiddenTouchesNothing();
    void showingThatCannotBeClosedIsNotPutUp_data();
    void showingThatCannotBeClosedIsNotPutUp();
    void grabLostLaterEndsTheShowing();
    void windowClosedElsewhereEndsTheShowing();
    void screenChangesWhileShown_data();
    void screenChangesWhileShown();
    void destroyedControllerAndGoneModelDoNothing();

private:
    ScreensaverController *controller() { return m_model->screensaver(); }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FlakyPlatform> m_platform;
    std::unique_ptr<TimerViewModel> m_model;
    const QDateTime m_now = QDateTime(QDate(2026, 5, 4), QTime(10, 0));
};

void TestScreensaverController::initTestCase()
{
    m_env = std::make_unique<TestEnvironment>();
    // The offscreen platform cannot raise windows and says so on every showing.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &text) {
            if (!text.contains(QLatin1String("does not support raise()")))
                previous(type, context, text);
        });
}

void TestScreensaverController::init()
{
    m_platform = std::make_unique<FlakyPlatform>();
    m_platform->setNow(m_now);
    m_model = std::make_unique<TimerViewModel>(*m_platform);
    m_model->setIdleEnabled(true);
    m_model->setIdleMinutes(5);
}

void TestScreensaverController::cleanup()
{
    m_model.reset();
    m_platform.reset();
    flushDeletes();
}

void TestScreensaverController::pollDecidesOnIdleTimeAndAssertions_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<qint64>("minutes");
    QTest::addColumn<double>("idle");
    QTest::addColumn<Assertions>("assertions");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("idleQueries");
    QTest::addColumn<int>("assertionQueries");

    const double nan = std::nan("");
    const qint64 huge = std::numeric_limits<qint64>::max() / 60 + 1;
    QTest::newRow("exactly at the threshold")
        << true << 5LL << 300.0 << Assertions() << true << 1 << 1;
    QTest::newRow("just below: no assertion query")
        << true << 5LL << 299.9 << Assertions() << false << 1 << 0;
    QTest::newRow("disabled: idle time not even read")
        << false << 5LL << 1e9 << Assertions() << false << 0 << 0;
    QTest::newRow("no idle source") << true << 5LL << nan << Assertions() << false << 1 << 0;
    QTest::newRow("second assertion blocks")
        << true << 5LL << 400.0
        << Assertions {{"PreventUserIdleDisplaySleep", 0}, {"NoDisplaySleepAssertion", 1}} << false
        << 1 << 1;
    QTest::newRow("first assertion blocks")
        << true << 5LL << 400.0 << Assertions {{"PreventUserIdleDisplaySleep", 3}} << false << 1
        << 1;
    QTest::newRow("both held at level 0")
        << true << 5LL << 400.0
        << Assertions {{"PreventUserIdleDisplaySleep", 0}, {"NoDisplaySleepAssertion", 0}} << true
        << 1 << 1;
    QTest::newRow("only other assertions")
        << true << 5LL << 400.0 << Assertions {{"PreventSystemSleep", 1}} << true << 1 << 1;
    QTest::newRow("negative level")
        << true << 5LL << 400.0 << Assertions {{"NoDisplaySleepAssertion", -1}} << true << 1 << 1;
    QTest::newRow("one minute") << true << 1LL << 60.0 << Assertions() << true << 1 << 1;
    QTest::newRow("overflowing minutes never pass")
        << true << huge << std::numeric_limits<double>::infinity() << Assertions() << false << 1
        << 0;
    QTest::newRow("overflowing negative minutes never pass")
        << true << -huge << 0.0 << Assertions() << false << 1 << 0;
}

void TestScreensaverController::pollDecidesOnIdleTimeAndAssertions()
{
    QFETCH(bool, enabled);
    QFETCH(qint64, minutes);
    QFETCH(double, idle);
    QFETCH(Assertions, assertions);
    m_model->setIdleEnabled(enabled);
    m_model->setIdleMinutes(minutes);
    m_platform->idle = idle;
    m_platform->assertions = assertions;

    controller()->checkIdle();

    QTEST(controller()->isShown(), "shown");
    QTEST(m_platform->idleQueries, "idleQueries");
    QTEST(m_platform->assertionQueries, "assertionQueries");
}

void TestScreensaverController::enablingTakesEffectAtTheNextTickOfTheSameTimer()
{
    m_model->setIdleEnabled(false);
    m_platform->idle = 3600;
    controller()->startIdleTimer();
    auto *timer = const_cast<QTimer *>(controller()->idleTimer());
    QVERIFY(timer && timer->isActive());

    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    QVERIFY(!controller()->isShown());

    m_model->setIdleEnabled(true);
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    QVERIFY(controller()->isShown());
    QCOMPARE(controller()->idleTimer(), timer);
}

void TestScreensaverController::tickWhileShownDoesNothing()
{
    m_platform->idle = 300;
    controller()->checkIdle();
    QVERIFY(controller()->isShown());
    const QDateTime shownAt = controller()->shownAt();
    const int queries = m_platform->idleQueries;

    m_platform->idle = 100000;
    m_platform->advance(15000);
    controller()->checkIdle();

    QCOMPARE(m_platform->idleQueries, queries);
    QCOMPARE(controller()->windows().size(), 1);
    QCOMPARE(controller()->shownAt(), shownAt);
    QCOMPARE(m_platform->monitors.size(), 1);
}

void TestScreensaverController::startingTwiceKeepsOneTimerAndItsFirstTick()
{
    m_platform->idle = 3600;
    controller()->startIdleTimer();
    const QTimer *timer = controller()->idleTimer();
    QCOMPARE(timer->interval(), 15000);
    QVERIFY(timer->remainingTime() > 14000);
    QCoreApplication::processEvents();
    QCOMPARE(m_platform->idleQueries, 0); // no tick at once

    QTest::qWait(300);
    const int before = timer->remainingTime();
    controller()->startIdleTimer();
    QCOMPARE(controller()->idleTimer(), timer);
    // Not restarted: the first tick still comes 15 s after the first call.
    QVERIFY(timer->remainingTime() <= before);
    QVERIFY(timer->remainingTime() < 14900);
}

void TestScreensaverController::showCoversEveryScreenInOrder_data()
{
    QTest::addColumn<Geometries>("screens");
    QTest::newRow("one") << Geometries {QRect(0, 0, 1920, 1080)};
    QTest::newRow("two side by side")
        << Geometries {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1440, 900)};
    QTest::newRow("three, second left of the first") << Geometries {
        QRect(0, 0, 2560, 1440), QRect(-1280, 200, 1280, 1024), QRect(2560, 0, 3840, 2160)};
}

void TestScreensaverController::showCoversEveryScreenInOrder()
{
    QFETCH(Geometries, screens);
    m_platform->screens = screens;
    controller()->show();

    const auto &windows = controller()->windows();
    QCOMPARE(windows.size(), screens.size());
    QSet<const CountdownView *> views;
    for (qsizetype i = 0; i < screens.size(); ++i) {
        QWidget *window = windows[i]->window();
        QCOMPARE(window->geometry(), screens[i]);
        QVERIFY(window->isVisible());
        QVERIFY(window->hasMouseTracking());
        auto *view = qobject_cast<CountdownView *>(windows[i]->content());
        QVERIFY(view);
        QCOMPARE(view->geometry(), QRect(QPoint(), screens[i].size()));
        QVERIFY(view->isTicking());
        // Fresh state: the first tick ran when it appeared and chose a quote.
        QCOMPARE(view->quoteInterval(), 0);
        QVERIFY(!view->quote().isEmpty());
        views.insert(view);
    }
    QCOMPARE(views.size(), screens.size());
    QCOMPARE(controller()->shownAt(), m_now);
    QCOMPARE(m_platform->activateCount, 1);
    QCOMPARE(m_platform->pointerHideDepth, 1);
    QCOMPARE(m_platform->monitors.size(), 1);
    QCOMPARE(controller()->eventMonitor(), std::optional<quint64>(m_platform->monitors.firstKey()));
    // Activation is reported back by the window system, later.
    QTRY_COMPARE(QApplication::activeWindow(), windows.last()->window());
}

void TestScreensaverController::showingTwiceStacksNothing()
{
    m_platform->screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)};
    controller()->show();
    m_platform->advance(500);
    controller()->show();

    QCOMPARE(controller()->windows().size(), 2);
    QCOMPARE(m_platform->created.size(), 2);
    QCOMPARE(m_platform->monitors.size(), 1);
    QCOMPARE(m_platform->pointerHideDepth, 1);
    QCOMPARE(controller()->shownAt(), m_now);
}

void TestScreensaverController::inputAfterTheGraceCloses_data()
{
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("swallowed");
    QTest::addColumn<bool>("closes");

    QTest::newRow("move at 0.5 s") << 500 << int(QEvent::MouseMove) << 0 << true << false;
    QTest::newRow("key at 0.999 s") << 999 << int(QEvent::KeyPress) << 0 << true << false;
    QTest::newRow("move at 1.0 s") << 1000 << int(QEvent::MouseMove) << 0 << true << true;
    QTest::newRow("key at 1.0 s") << 1000 << int(QEvent::KeyPress) << 0 << true << true;
    QTest::newRow("left click") << 1500 << int(QEvent::MouseButtonPress) << int(Qt::LeftButton)
                                << true << true;
    QTest::newRow("right click") << 1500 << int(QEvent::MouseButtonPress) << int(Qt::RightButton)
                                 << true << true;
    QTest::newRow("middle click") << 1500 << int(QEvent::MouseButtonPress) << int(Qt::MiddleButton)
                                  << true << true;
    QTest::newRow("second press of a double click")
        << 1500 << int(QEvent::MouseButtonDblClick) << int(Qt::LeftButton) << true << true;
    QTest::newRow("wheel") << 60000 << int(QEvent::Wheel) << 0 << true << true;
    QTest::newRow("key release is not monitored")
        << 5000 << int(QEvent::KeyRelease) << 0 << false << false;
    QTest::newRow("button release is not monitored")
        << 5000 << int(QEvent::MouseButtonRelease) << int(Qt::LeftButton) << false << false;
    QTest::newRow("clock set back an hour restarts the grace")
        << -3600000 << int(QEvent::MouseMove) << 0 << true << false;
}

void TestScreensaverController::inputAfterTheGraceCloses()
{
    QFETCH(int, after);
    QFETCH(int, type);
    QFETCH(int, button);
    QFETCH(bool, closes);
    m_platform->screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1440, 900)};
    controller()->show();
    const QList<QPointer<QWidget>> windows = m_platform->created;

    m_platform->advance(after);
    const auto event = makeInput(QEvent::Type(type), Qt::MouseButton(button));
    QTEST(m_platform->deliverInput(event.get()), "swallowed");

    QCOMPARE(controller()->isShown(), !closes);
    QCOMPARE(m_platform->monitors.isEmpty(), closes);
    QCOMPARE(m_platform->pointerHideDepth, closes ? 0 : 1);
    QCOMPARE(controller()->eventMonitor().has_value(), !closes);
    flushDeletes();
    for (const QPointer<QWidget> &window : windows)
        QCOMPARE(window.isNull(), closes);

    if (after < 0) {
        // The grace now counts from the earlier time.
        m_platform->advance(1000);
        QVERIFY(m_platform->deliverInput(event.get()));
        QVERIFY(!controller()->isShown());
    }
}

void TestScreensaverController::dismissWhileHiddenTouchesNothing()
{
    // Someone else's hidden pointer and monitor.
    m_platform->hidePointer();
    m_platform->installInputMonitor([](QEvent *) { return false; });

    controller()->dismiss();
    QCOMPARE(m_platform->pointerHideDepth, 1);
    QCOMPARE(m_platform->monitors.size(), 1);

    controller()->show();
    m_platform->advance(2000);
    const auto key = makeInput(QEvent::KeyPress);
    m_platform->deliverInput(key.get());
    controller()->dismiss();
    QCOMPARE(m_platform->pointerHideDepth, 1);
    QCOMPARE(m_platform->monitors.size(), 1);
}

void TestScreensaverController::showingThatCannotBeClosedIsNotPutUp_data()
{
    QTest::addColumn<Geometries>("screens");
    QTest::addColumn<bool>("refuseMonitor");
    QTest::addColumn<int>("failAt");
    QTest::addColumn<bool>("grabFails");
    const Geometries two = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)};
    QTest::newRow("no screens") << Geometries() << false << -1 << false;
    QTest::newRow("monitor refused") << two << true << -1 << false;
    QTest::newRow("second window not created") << two << false << 1 << false;
    QTest::newRow("keyboard or pointer not grabbed") << two << false << -1 << true;
}

void TestScreensaverController::showingThatCannotBeClosedIsNotPutUp()
{
    QFETCH(Geometries, screens);
    m_platform->screens = screens;
    QFETCH(bool, refuseMonitor);
    QFETCH(int, failAt);
    m_platform->refuseInputMonitor = refuseMonitor;
    m_platform->failAt = failAt;
    QFETCH(bool, grabFails);
    m_platform->grabFailsAtOnce = grabFails;

    controller()->show();

    QVERIFY(!controller()->isShown());
    QVERIFY(!controller()->eventMonitor());
    QCOMPARE(controller()->shownAt(), ScreensaverController::distantPast());
    QCOMPARE(m_platform->pointerHideDepth, 0);
    QVERIFY(m_platform->monitors.isEmpty());
    flushDeletes();
    for (const QPointer<QWidget> &window : std::as_const(m_platform->created))
        QVERIFY(window.isNull());

    // Nothing left behind that would stop the next showing.
    m_platform->screens = {QRect(0, 0, 800, 600)};
    m_platform->refuseInputMonitor = false;
    m_platform->failAt = -1;
    m_platform->grabFailsAtOnce = false;
    m_platform->created.clear();
    controller()->show();
    QCOMPARE(controller()->windows().size(), 1);
}

void TestScreensaverController::grabLostLaterEndsTheShowing()
{
    controller()->show();
    const quint64 token = *controller()->eventMonitor();
    // Someone else's monitor: not ours to end.
    emit m_platform->inputGrabFailed(token + 1);
    QVERIFY(controller()->isShown());

    emit m_platform->inputGrabFailed(token);
    QVERIFY(!controller()->isShown());
    QCOMPARE(m_platform->pointerHideDepth, 0);
    QVERIFY(m_platform->monitors.isEmpty());
}

void TestScreensaverController::windowClosedElsewhereEndsTheShowing()
{
    m_platform->screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)};
    controller()->show();

    QWidget stranger;
    emit m_platform->coveringWindowClosed(&stranger);
    QCOMPARE(controller()->windows().size(), 2);

    QWidget *second = controller()->windows().at(1)->window();
    second->close();
    emit m_platform->coveringWindowClosed(second);
    QVERIFY(!controller()->isShown());
    QCOMPARE(m_platform->pointerHideDepth, 0);
    QVERIFY(m_platform->monitors.isEmpty());
    flushDeletes();
    QVERIFY(m_platform->created.at(0).isNull());
    QVERIFY(m_platform->created.at(1).isNull());
}

void TestScreensaverController::screenChangesWhileShown_data()
{
    QTest::addColumn<Geometries>("before");
    QTest::addColumn<Geometries>("after");
    QTest::addColumn<QList<int>>("kept"); // index into `before`, or -1 for a new window

    const QRect laptop(0, 0, 1920, 1080), dock(1920, 0, 2560, 1440), hd(0, 0, 1280, 720);
    QTest::newRow("screen added") << Geometries {laptop} << Geometries {laptop, dock}
                                  << QList<int> {0, -1};
    QTest::newRow("screen removed")
        << Geometries {laptop, dock} << Geometries {dock} << QList<int> {1};
    QTest::newRow("resolution changed")
        << Geometries {laptop, dock} << Geometries {hd, dock} << QList<int> {-1, 1};
    QTest::newRow("every screen gone") << Geometries {laptop, dock} << Geometries() << QList<int>();
}

void TestScreensaverController::screenChangesWhileShown()
{
    QFETCH(Geometries, before);
    QFETCH(Geometries, after);
    QFETCH(QList<int>, kept);
    m_platform->screens = before;
    controller()->show();
    const QList<ScreensaverWindow *> old = controller()->windows();
    const QList<QPointer<QWidget>> oldWidgets = m_platform->created;

    m_platform->screens = after;
    emit m_platform->screensChanged();

    const auto &windows = controller()->windows();
    QCOMPARE(windows.size(), after.size());
    for (qsizetype i = 0; i < after.size(); ++i) {
        QCOMPARE(windows[i]->window()->geometry(), after[i]);
        QVERIFY(windows[i]->window()->isVisible());
        if (kept[i] >= 0)
            QCOMPARE(windows[i], old[kept[i]]);
        else
            QVERIFY(!old.contains(windows[i]));
    }
    flushDeletes();
    for (qsizetype i = 0; i < before.size(); ++i)
        QCOMPARE(oldWidgets[i].isNull(), !kept.contains(int(i)));
    QCOMPARE(m_platform->pointerHideDepth, after.isEmpty() ? 0 : 1);
    QCOMPARE(m_platform->monitors.size(), after.isEmpty() ? 0 : 1);
}

void TestScreensaverController::destroyedControllerAndGoneModelDoNothing()
{
    m_platform->idle = 3600;
    auto controller = std::make_unique<ScreensaverController>(m_model.get());
    controller->startIdleTimer();
    controller->show();
    QCOMPARE(m_platform->monitors.size(), 1);
    const Platform::InputHandler handler = m_platform->monitors.first();

    controller.reset();
    // Never left covering the screens with the pointer hidden.
    QVERIFY(m_platform->monitors.isEmpty());
    QCOMPARE(m_platform->pointerHideDepth, 0);
    m_platform->advance(5000);
    const auto key = makeInput(QEvent::KeyPress);
    QVERIFY(!handler(key.get())); // passes the event on

    controller = std::make_unique<ScreensaverController>(m_model.get());
    m_model.reset();
    QVERIFY(!controller->viewModel());
    controller->checkIdle();
    controller->show();
    QVERIFY(!controller->isShown());
    QCOMPARE(m_platform->idleQueries, 0);
    QCOMPARE(m_platform->pointerHideDepth, 0);
}

QTEST_MAIN(TestScreensaverController)
#include "tst_screensavercontroller.moc"

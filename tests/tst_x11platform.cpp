#include "TestEnvironment.h"
#include "XTools.h"
#include "model/TimerViewModel.h"
#include "platform/IdleTime.h"
#include "platform/LinuxPlatform.h"
#include "platform/XSyncIdleSource.h"
#include "screensaver/ScreensaverController.h"
#include "screensaver/ScreensaverWindow.h"

#include <QApplication>
#include <QDBusConnection>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <X11/Xlib.h>
// Xlib names its event types as macros that clash with QEvent's.
#undef KeyPress

namespace {
QString hex(QWidget *window)
{
    return QStringLiteral("0x%1").arg(window->winId(), 0, 16);
}

QString xprop(const QString &target, const QString &property)
{
    const QStringList where
        = target.isEmpty() ? QStringList {"-root"} : QStringList {"-id", target};
    return runXTool(QStringLiteral("xprop"), where + QStringList {property});
}

QRect serverGeometry(QWidget *window)
{
    return serverGeometry(hex(window));
}

// Bottom to top, as the window manager stacks its clients.
QStringList stacking()
{
    QStringList ids;
    for (const QString &id : xprop({}, "_NET_CLIENT_LIST_STACKING").section('#', 1).split(','))
        ids.append(QStringLiteral("0x%1").arg(id.trimmed().toULongLong(nullptr, 16), 0, 16));
    return ids;
}

// The real platform on a clock the test moves on: the grace second is the
// program's clock, not how long a loaded machine takes to map the covers.
class ClockedPlatform : public LinuxPlatform
{
public:
    QDateTime now() const override { return m_start.addMSecs(offset); }
    qint64 offset = 0;

private:
    QDateTime m_start = QDateTime::currentDateTime();
};

// An ordinary window of the program, counting the input that reaches it.
class Underneath : public QWidget
{
public:
    int inputs = 0;

protected:
    bool event(QEvent *event) override
    {
        const QEvent::Type type = event->type();
        inputs += type == QEvent::KeyPress || type == QEvent::MouseButtonPress
            || type == QEvent::Wheel;
        return QWidget::event(event);
    }
};
} // namespace

// The platform and the countdown on the X server and window manager of scripts/test.
class TestX11Platform : public QObject
{
    Q_OBJECT

    QWidget *showCovering(LinuxPlatform &platform)
    {
        QWidget *window
            = platform.createCoveringWindow(0, QGuiApplication::primaryScreen()->geometry());
        window->show();
        platform.activate(window);
        return QTest::qWaitForWindowExposed(window) ? window : nullptr;
    }

    int otherGrabsKeyboard()
    {
        return XGrabKeyboard(
            m_other, DefaultRootWindow(m_other), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    }

    int otherGrabsPointer()
    {
        return XGrabPointer(m_other, DefaultRootWindow(m_other), False, ButtonPressMask,
            GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    }

    std::unique_ptr<TestEnvironment> m_env = std::make_unique<TestEnvironment>();
    Display *m_other = nullptr; // a second client, to compete for grabs

private slots:
    void initTestCase()
    {
        m_other = XOpenDisplay(nullptr);
        QVERIFY(m_other);
        // The window manager may still be starting: wait until it announces itself.
        QTRY_VERIFY_WITH_TIMEOUT(
            xprop({}, "_NET_SUPPORTING_WM_CHECK").contains("window id #"), 10000);
    }

    void cleanup()
    {
        XUngrabPointer(m_other, CurrentTime);
        XUngrabKeyboard(m_other, CurrentTime);
        XFlush(m_other);
        qDeleteAll(QApplication::topLevelWidgets());
    }

    void coveringWindowIsAboveOthersAndItsCloseReported()
    {
        LinuxPlatform platform;
        QSignalSpy closed(&platform, &Platform::coveringWindowClosed);
        QWidget *window = showCovering(platform);
        QVERIFY(window);
        QTRY_COMPARE(serverGeometry(window), QGuiApplication::primaryScreen()->geometry());
        const QString states = xprop(hex(window), "_NET_WM_STATE");
        QVERIFY2(states.contains(QLatin1String("_NET_WM_STATE_ABOVE")), qPrintable(states));

        // A normal window opened and activated afterwards still stays below it.
        auto *normal = new QWidget;
        normal->setGeometry(100, 100, 400, 300);
        normal->show();
        normal->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(normal));
        QTRY_VERIFY(stacking().contains(hex(normal)));
        const QStringList order = stacking();
        QVERIFY2(
            order.indexOf(hex(window)) > order.indexOf(hex(normal)), qPrintable(order.join(' ')));

        // Closed by the window manager, as a pager asks it to: reported.
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = Window(window->winId());
        event.xclient.message_type = XInternAtom(m_other, "_NET_CLOSE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[1] = 2; // from a pager: the user asked
        XSendEvent(m_other, DefaultRootWindow(m_other), False,
            SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XFlush(m_other);
        QVERIFY(closed.wait(5000));
        QCOMPARE(closed.size(), 1);
        QCOMPARE(closed.first().first().value<QWidget *>(), window);
    }

    void keyboardAndPointerAreGrabbedWhileMonitored()
    {
        LinuxPlatform platform;
        QSignalSpy failed(&platform, &Platform::inputGrabFailed);
        QWidget *window = showCovering(platform);
        QVERIFY(window);
        auto monitor = [&] {
            return platform.installInputMonitor([](QEvent *) { return false; });
        };

        // Another client holds the keyboard, as a screen locker or a menu would.
        QCOMPARE(otherGrabsKeyboard(), GrabSuccess);
        XSync(m_other, False);
        Platform::MonitorToken token = monitor();
        QVERIFY(token != 0);
        QVERIFY(failed.wait(10000));
        QCOMPARE(failed.first().first().value<Platform::MonitorToken>(), token);
        QVERIFY(!platform.grabWindow());
        platform.removeInputMonitor(token);
        XUngrabKeyboard(m_other, CurrentTime);
        XSync(m_other, False);

        token = monitor();
        QVERIFY(token != 0);
        QTRY_VERIFY(platform.grabWindow() == window);
        QCOMPARE(otherGrabsKeyboard(), AlreadyGrabbed);
        QCOMPARE(otherGrabsPointer(), AlreadyGrabbed);
        platform.removeInputMonitor(token);
        QVERIFY(!platform.grabWindow());
        QTRY_COMPARE(otherGrabsKeyboard(), GrabSuccess);
        QCOMPARE(otherGrabsPointer(), GrabSuccess);
    }

    // The server's idle counter through the alarm: real input resets it without a poll
    // asking, and it grows with the clock while none comes.
    void x11IdleTimeFollowsRealInput()
    {
        XSyncIdleSource source;
        auto idle = [&](IdleQuery query) {
            return source.idleSeconds(query).value_or(-1);
        };
        for (int round = 0; round < 2; ++round) {
            QVERIFY(xdotool({"mousemove_relative", "--", "3", "0"}));
            QTRY_VERIFY2(idle(IdleQuery::Fresh) >= 0 && idle(IdleQuery::Fresh) < 0.5,
                qPrintable(QString::number(idle(IdleQuery::Fresh))));
            QTest::qWait(1500);
            const double cheap = idle(IdleQuery::Cheap);
            QVERIFY2(cheap >= 1.4, qPrintable(QString::number(cheap)));
            QVERIFY(qAbs(idle(IdleQuery::Fresh) - cheap) < 0.3);
            // After a cheap answer, so only the alarm can tell of this input.
            QVERIFY(xdotool({"key", "shift"}));
            QTRY_VERIFY(idle(IdleQuery::Cheap) < 0.5);
        }
    }

    // An X server under a Wayland compositor sees only its own clients' input.
    void waylandSessionNeverAsksTheXServer()
    {
        IdleTime idle(IdleTime::Session::Wayland, QDBusConnection(QString()));
        QVERIFY(std::isnan(idle.idleSeconds()));
        QVERIFY(!idle.source());
    }

    void countdownCoversAndClosesOnInputAfterTheGrace_data()
    {
        QTest::addColumn<QStringList>("earlyInput");
        QTest::addColumn<QStringList>("closingInput");
        QTest::newRow("pointer moves, key closes")
            << QStringList {"mousemove_relative", "--", "40", "0"} << QStringList {"key", "a"};
        QTest::newRow("click, scroll closes")
            << QStringList {"click", "3"} << QStringList {"click", "5"};
    }

    void countdownCoversAndClosesOnInputAfterTheGrace()
    {
        ClockedPlatform platform;
        TimerViewModel model(platform);
        ScreensaverController &controller = *model.screensaver();
        Underneath underneath;
        underneath.setGeometry(QRect(100, 100, 400, 300));
        underneath.show();
        underneath.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&underneath, 10000));
        // The pointer over it, so a stray click or scroll would land there.
        QVERIFY(xdotool({"mousemove", "200", "200"}));
        QTest::qWait(100);
        underneath.inputs = 0;

        controller.show();
        const QList<QScreen *> screens = QGuiApplication::screens();
        QCOMPARE(controller.windows().size(), screens.size());
        QList<QPointer<QWidget>> covers;
        for (qsizetype i = 0; i < screens.size(); ++i) {
            covers.append(controller.windows().at(i)->window());
            QVERIFY(QTest::qWaitForWindowExposed(covers.last()));
            QTRY_COMPARE(serverGeometry(covers.last()), screens.at(i)->geometry());
        }
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);

        // Within the first second: swallowed, and the covers stay.
        platform.offset = 500;
        QFETCH(QStringList, earlyInput);
        QVERIFY(xdotool(earlyInput));
        QTest::qWait(300);
        for (const QPointer<QWidget> &cover : std::as_const(covers))
            QVERIFY(cover && cover->isVisible());

        // After it: the first input closes every cover and is swallowed too.
        platform.offset = 1100;
        QFETCH(QStringList, closingInput);
        QVERIFY(xdotool(closingInput));
        QTRY_VERIFY(controller.windows().isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QPointer<QWidget> &cover : std::as_const(covers))
            QVERIFY(!cover || !cover->isVisible());
        QTest::qWait(200);
        QCOMPARE(underneath.inputs, 0);
        QVERIFY(!QGuiApplication::overrideCursor()
            || QGuiApplication::overrideCursor()->shape() != Qt::BlankCursor);
    }
};

QTEST_MAIN(TestX11Platform)
#include "tst_x11platform.moc"

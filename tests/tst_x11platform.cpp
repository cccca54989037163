#include "TestBus.h"
#include "TestEnvironment.h"
#include "XTools.h"
#include "model/TimerViewModel.h"
#include "platform/LinuxPlatform.h"
#include "platform/XSyncIdleSource.h"
#include "screensaver/ScreensaverController.h"
#include "screensaver/ScreensaverWindow.h"

#include <QApplication>
#include <QPointer>
#include <QProcess>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <X11/Xlib.h>
#include <unistd.h>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>
// Xlib names its event types as macros that clash with QEvent's.
#undef KeyPress

using Covers = QList<QPointer<QWidget>>;

namespace {
QString hex(QWidget *window)
{
    return QStringLiteral("0x%1").arg(window->winId(), 0, 16);
}

QString rootProperty(const QString &property)
{
    return runXTool(QStringLiteral("xprop"), {QStringLiteral("-root"), property});
}

// Bottom to top, as the window manager stacks its clients.
QStringList stacking()
{
    QStringList ids;
    for (const QString &id : rootProperty("_NET_CLIENT_LIST_STACKING").section('#', 1).split(','))
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

// The real platform with a user long away and nothing keeping the display awake.
class AwayPlatform : public LinuxPlatform
{
public:
    double idleSeconds(IdleQuery) override { return 1e6; }
};

// An ordinary window of the program, counting the input that reaches it.
class Underneath : public QWidget
{
public:
    explicit Underneath(const QRect &geometry)
    {
        setGeometry(geometry);
        show();
        activateWindow();
    }
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

// The platform and the countdown on a real X server: the suite's, with its window
// manager; and, for the covers alone, one of two X screens of different sizes as a
// multi-head setup without Xinerama has, where Qt reports both screens at 0,0.
class TestX11Platform : public QObject
{
    Q_OBJECT

    int otherGrabsKeyboard()
    {
        return XGrabKeyboard(
            m_other, DefaultRootWindow(m_other), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    }

    // Whether some client holds the keyboard, asked without keeping it.
    bool keyboardHeld()
    {
        const int status = otherGrabsKeyboard();
        XUngrabKeyboard(m_other, CurrentTime);
        XSync(m_other, False);
        return status == AlreadyGrabbed;
    }

    int otherGrabsPointer()
    {
        return XGrabPointer(m_other, DefaultRootWindow(m_other), False, ButtonPressMask,
            GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    }

    // Shows the countdown: a cover on each screen's own X root, as large as that screen,
    // the pointer hidden and the last cover focused.
    void showCovers(LinuxPlatform &platform, ScreensaverController &controller, Covers &covers)
    {
        controller.show();
        const QList<QScreen *> screens = QGuiApplication::screens();
        QCOMPARE(controller.windows().size(), screens.size());
        QSet<Window> roots;
        for (qsizetype i = 0; i < screens.size(); ++i) {
            covers.append(controller.windows().at(i)->window());
            QVERIFY(QTest::qWaitForWindowExposed(covers.last()));
            QCOMPARE(covers.last()->screen(), screens.at(i));
            QTRY_COMPARE(serverGeometry(hex(covers.last())), screens.at(i)->geometry());
            XWindowAttributes attributes {};
            QVERIFY(XGetWindowAttributes(m_other, Window(covers.last()->winId()), &attributes));
            const Screen *xscreen = attributes.screen;
            QCOMPARE(QSize(WidthOfScreen(xscreen), HeightOfScreen(xscreen)), screens.at(i)->size());
            roots.insert(attributes.root);
        }
        QCOMPARE(roots.size(), screens.size());
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        // The keyboard comes through the focus the window manager gives, never a grab.
        QTRY_COMPARE(inputFocus(), Window(covers.last()->winId()));
        Q_UNUSED(platform);
    }

    Window inputFocus()
    {
        Window focus = None;
        int revert = 0;
        XGetInputFocus(m_other, &focus, &revert);
        return focus;
    }

    std::unique_ptr<TestEnvironment> m_env = std::make_unique<TestEnvironment>();
    Display *m_other = nullptr; // a second client, to compete for grabs

private slots:
    void initTestCase()
    {
        m_other = XOpenDisplay(nullptr);
        QVERIFY(m_other);
    }

    void cleanup()
    {
        XUngrabPointer(m_other, CurrentTime);
        XUngrabKeyboard(m_other, CurrentTime);
        XSync(m_other, False);
    }

    // The suite's own eyes: a shown window stays found while other windows come and go.
    // xdotool drops its whole search, with an X error, when a window goes away under it;
    // a window that seemed gone let a test click a popover that was still open shut.
    void visibleWindowFoundWhileOthersComeAndGo()
    {
        QWidget keeper;
        keeper.setWindowTitle(QStringLiteral("Daystride Keeper"));
        keeper.resize(200, 100);
        keeper.show();
        QTRY_COMPARE(visibleWindows(keeper.windowTitle()).size(), 1);
        QProcess churn;
        churn.start(QStringLiteral("sh"),
            {QStringLiteral("-c"),
                QStringLiteral("for i in $(seq 150); do xmessage -timeout 1 $i & sleep 0.02; "
                               "done; wait")});
        QVERIFY(churn.waitForStarted());
        int missed = 0;
        while (churn.state() != QProcess::NotRunning) {
            missed += visibleWindows(keeper.windowTitle()).isEmpty() ? 1 : 0;
            churn.waitForFinished(10);
        }
        QCOMPARE(missed, 0);
    }

    // Run once more on a server of two X screens, with DAYSTRIDE_X_SCREENS=2.
    void eachScreenGetsItsOwnCover()
    {
        const int expected = qMax(1, qEnvironmentVariableIntValue("DAYSTRIDE_X_SCREENS"));
        QCOMPARE(QGuiApplication::screens().size(), expected);
        LinuxPlatform platform;
        TimerViewModel model(platform);
        Covers covers;
        showCovers(platform, *model.screensaver(), covers);
        if (QTest::currentTestFailed())
            return;
        model.screensaver()->dismiss();
        QTRY_COMPARE(otherGrabsKeyboard(), GrabSuccess);
    }

    // A screen locker started while the countdown is up locks at once: no grab of the
    // program's stands in its way. The countdown goes, and no idle poll puts it back
    // while the locker holds the screen; once it is gone, the next poll covers again.
    void screenLockerWinsOverTheCountdown_data()
    {
        QTest::addColumn<QStringList>("locker"); // empty: another client's grab
        QTest::addColumn<int>("blankAfter"); // the X screen saver's timeout; 0: as it is
        QTest::newRow("another client's keyboard grab") << QStringList() << 0;
        QTest::newRow("i3lock") << QStringList {"i3lock", "-n"} << 0;
        // Its daemon, then its lock command once the daemon answers; it will not lock
        // for root, so there both run as nobody.
        const QString asUser = getuid() == 0
            ? QStringLiteral("setpriv --reuid=nobody --regid=nogroup --clear-groups")
            : QString();
        QTest::newRow("xscreensaver") << QStringList {"sh", "-c",
            asUser + " xscreensaver -no-splash & for i in $(seq 50); do " + asUser
                + " xscreensaver-command -lock && break; sleep 0.2; done; wait"}
                                      << 0;
        // The user's own lock timer fires while the countdown is up: the server blanks
        // the screen, and xss-lock starts the locker then.
        QTest::newRow("xss-lock and i3lock, on the X screen saver's timeout")
            << QStringList {"xss-lock", "--", "i3lock", "-n"} << 2;
    }

    void screenLockerWinsOverTheCountdown()
    {
        QFETCH(QStringList, locker);
        const bool program = !locker.isEmpty();
        AwayPlatform platform;
        TimerViewModel model(platform);
        model.setIdleEnabled(true);
        ScreensaverController &controller = *model.screensaver();
        Covers covers;
        showCovers(platform, controller, covers);
        if (QTest::currentTestFailed())
            return;

        QProcess process;
        // xss-lock gives up without logind's session: a stand-in on a bus of its own.
        const TestBus lockersBus;
        const TestBus::Service logind = lockersBus.serve(
            QStringLiteral(DAYSTRIDE_TEST_SERVICE), {QStringLiteral("loginsession=0")});
        QVERIFY(logind);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), lockersBus.address());
        QTemporaryDir home; // xscreensaver's, which it must own
        QVERIFY(home.isValid());
        QVERIFY(getuid() != 0 || chown(qPrintable(home.path()), 65534, 65534) == 0);
        environment.insert(QStringLiteral("HOME"), home.path());
        process.setProcessEnvironment(environment);
        QFETCH(int, blankAfter);
        const auto stopLocker = [&] {
            process.kill();
            process.waitForFinished();
            QProcess::execute(QStringLiteral("pkill"), {"-x", "i3lock"});
            QProcess::execute(QStringLiteral("pkill"), {"-f", "^xscreensaver"});
            if (blankAfter) {
                runXTool(QStringLiteral("xset"), {"s", "reset"});
                runXTool(QStringLiteral("xset"), {"s", "default"});
            }
        };
        const auto atTheEnd = qScopeGuard(stopLocker);
        if (!program) {
            QCOMPARE(otherGrabsKeyboard(), GrabSuccess);
            XSync(m_other, False);
        } else {
            process.start(locker.takeFirst(), locker);
            QVERIFY(process.waitForStarted());
        }
        if (blankAfter) {
            QTest::qWait(500); // xss-lock listening
            runXTool(QStringLiteral("xset"), {"s", QString::number(blankAfter), "0"});
        }
        QTRY_VERIFY_WITH_TIMEOUT(!controller.isShown(), 5000);
        QVERIFY(!QGuiApplication::overrideCursor());
        if (program) {
            // Locked, and still holding the screen: keyboard and pointer are its own.
            QTRY_VERIFY(keyboardHeld());
            QCOMPARE(otherGrabsPointer(), AlreadyGrabbed);
            QCOMPARE(process.state(), QProcess::Running);
        }
        controller.checkIdle();
        QVERIFY(!controller.isShown());

        stopLocker();
        cleanup();
        QTRY_VERIFY(!platform.isSessionLocked() && !platform.isInputHeldElsewhere());
        controller.checkIdle();
        QVERIFY(controller.isShown());
        controller.dismiss();
    }

    // A program that keeps the screen on the X11 way, as browsers and players do: the
    // countdown waits while it holds the suspension, and comes once it lets go or quits.
    void screenSaverSuspensionKeepsTheCountdownAway_data()
    {
        QTest::addColumn<bool>("quits");
        QTest::newRow("lets go") << false;
        QTest::newRow("quits") << true;
    }

    void screenSaverSuspensionKeepsTheCountdownAway()
    {
        AwayPlatform platform;
        TimerViewModel model(platform);
        model.setIdleEnabled(true);
        ScreensaverController &controller = *model.screensaver();
        const auto held = [&] {
            return platform.displaySleepAssertions().value(
                QStringLiteral("PreventUserIdleDisplaySleep"));
        };
        xcb_connection_t *player = xcb_connect(nullptr, nullptr);
        QVERIFY(!xcb_connection_has_error(player));
        const auto sync = [player] {
            free(xcb_get_input_focus_reply(player, xcb_get_input_focus(player), nullptr));
        };
        // Twice, as a player does for each video: one release is not the end of both.
        xcb_screensaver_suspend(player, 1);
        xcb_screensaver_suspend(player, 1);
        sync();
        QTRY_COMPARE(held(), 1);
        controller.checkIdle();
        QVERIFY(!controller.isShown());

        xcb_screensaver_suspend(player, 0);
        sync();
        QTest::qWait(100);
        QCOMPARE(held(), 1);
        QFETCH(bool, quits);
        if (quits) {
            xcb_disconnect(player);
        } else {
            xcb_screensaver_suspend(player, 0);
            sync();
        }
        QTRY_COMPARE(held(), 0);
        controller.checkIdle();
        QVERIFY(controller.isShown());
        controller.dismiss();
        if (!quits)
            xcb_disconnect(player);
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

    void countdownCoversAndClosesOnInputAfterTheGrace_data()
    {
        QTest::addColumn<QStringList>("earlyInput");
        QTest::addColumn<QStringList>("closingInput"); // none: a pager closes a cover
        QTest::newRow("pointer moves, key closes")
            << QStringList {"mousemove_relative", "--", "40", "0"} << QStringList {"key", "a"};
        QTest::newRow("click, scroll closes")
            << QStringList {"click", "3"} << QStringList {"click", "5"};
        QTest::newRow("key, a pager closes") << QStringList {"key", "b"} << QStringList();
    }

    void countdownCoversAndClosesOnInputAfterTheGrace()
    {
        // The window manager may still be starting: wait until it announces itself.
        QTRY_VERIFY_WITH_TIMEOUT(
            rootProperty("_NET_SUPPORTING_WM_CHECK").contains("window id #"), 10000);
        ClockedPlatform platform;
        TimerViewModel model(platform);
        ScreensaverController &controller = *model.screensaver();
        Underneath underneath(QRect(100, 100, 400, 300));
        QVERIFY(QTest::qWaitForWindowActive(&underneath, 10000));
        // The pointer over it, so a stray click or scroll would land there.
        QVERIFY(xdotool({"mousemove", "200", "200"}));
        QTest::qWait(100);
        underneath.inputs = 0;

        Covers covers;
        showCovers(platform, controller, covers);
        if (QTest::currentTestFailed())
            return;
        // A window opened and activated afterwards still stays below the covers.
        Underneath later(QRect(150, 150, 400, 300));
        QVERIFY(QTest::qWaitForWindowExposed(&later));
        QTRY_VERIFY(stacking().contains(hex(&later)));
        const QStringList order = stacking();
        for (const QPointer<QWidget> &cover : std::as_const(covers))
            QVERIFY2(order.indexOf(hex(cover)) > order.indexOf(hex(&later)),
                qPrintable(order.join(' ')));

        // Within the first second: swallowed, and the covers stay.
        platform.offset = 500;
        QFETCH(QStringList, earlyInput);
        QVERIFY(xdotool(earlyInput));
        QTest::qWait(300);
        for (const QPointer<QWidget> &cover : std::as_const(covers))
            QVERIFY(cover && cover->isVisible());

        // After it: the first input closes every cover and is swallowed too. A cover
        // closed by the window manager, as a pager asks it to, ends the showing as well.
        platform.offset = 1100;
        QFETCH(QStringList, closingInput);
        if (closingInput.isEmpty()) {
            XEvent event = {};
            event.xclient.type = ClientMessage;
            event.xclient.window = Window(covers.first()->winId());
            event.xclient.message_type = XInternAtom(m_other, "_NET_CLOSE_WINDOW", False);
            event.xclient.format = 32;
            event.xclient.data.l[1] = 2; // from a pager: the user asked
            XSendEvent(m_other, DefaultRootWindow(m_other), False,
                SubstructureRedirectMask | SubstructureNotifyMask, &event);
            XFlush(m_other);
        } else {
            QVERIFY(xdotool(closingInput));
        }
        QTRY_VERIFY(controller.windows().isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QPointer<QWidget> &cover : std::as_const(covers))
            QVERIFY(!cover || !cover->isVisible());
        QTest::qWait(200);
        QCOMPARE(underneath.inputs + later.inputs, 0);
        QVERIFY(!QGuiApplication::overrideCursor()
            || QGuiApplication::overrideCursor()->shape() != Qt::BlankCursor);
        QTRY_COMPARE(otherGrabsKeyboard(), GrabSuccess);
        QCOMPARE(otherGrabsPointer(), GrabSuccess);
    }
};

QTEST_MAIN(TestX11Platform)
#include "tst_x11platform.moc"

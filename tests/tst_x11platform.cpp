#include "platform/IdleTime.h"
#include "platform/LinuxPlatform.h"

#include <QApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <QVBoxLayout>

#include <X11/Xlib.h>
// Xlib names its event types as macros that clash with QEvent's.
#undef KeyPress
#undef KeyRelease
#include <cmath>
#include <cstdio>

// The platform on a real X server with a window manager (Xvfb and openbox, started
// by scripts/test): the server's idle counter, covering windows, grabs and input.
class TestX11Platform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void idleFromTheXServer();
    void coveringWindowCoversItsScreenAboveOthers();
    void closeByOthersIsReported_data();
    void closeByOthersIsReported();
    void inputMonitorSeesAndSwallowsRealInput_data();
    void inputMonitorSeesAndSwallowsRealInput();
    void keyboardAndPointerAreGrabbedWhileMonitored();
    void refusedGrabIsReported();
    void pointerHidingIsBalanced();

private:
    QWidget *showCovering(LinuxPlatform &platform);
    Display *m_other = nullptr; // a second client, to compete for grabs
};

namespace {
QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString xdotool(const QStringList &arguments)
{
    return run(QStringLiteral("xdotool"), arguments);
}

QString hex(QWidget *window)
{
    return QStringLiteral("0x%1").arg(window->winId(), 0, 16);
}

// xwininfo's idea of where the window is: absolute position and size.
QRect xwininfoGeometry(QWidget *window)
{
    const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), hex(window)});
    auto field = [&](const char *name) {
        const QRegularExpression re(QString::fromLatin1(name) + QStringLiteral(":\\s+(-?\\d+)"));
        return re.match(info).captured(1).toInt();
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
        field("Height"));
}

QString xprop(QWidget *window, const QString &property)
{
    return run(QStringLiteral("xprop"), {QStringLiteral("-id"), hex(window), property}).trimmed();
}

// Bottom to top, as the window manager stacks its clients.
QStringList stacking()
{
    const QString list = run(QStringLiteral("xprop"),
        {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    QStringList ids;
    for (const QString &id : list.section(QLatin1Char('#'), 1).split(QLatin1Char(',')))
        ids.append(QStringLiteral("0x%1").arg(id.trimmed().toULongLong(nullptr, 16), 0, 16));
    return ids;
}

// Records what reaches it, as the countdown screen inside a covering window would.
class Recorder : public QWidget
{
public:
    using QWidget::QWidget;
    QList<QEvent::Type> received;

protected:
    bool event(QEvent *event) override
    {
        received.append(event->type());
        return QWidget::event(event);
    }
};
} // namespace

void TestX11Platform::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    m_other = XOpenDisplay(nullptr);
    QVERIFY(m_other);
}

void TestX11Platform::cleanup()
{
    XUngrabKeyboard(m_other, CurrentTime);
    XFlush(m_other);
    for (QWidget *window : QApplication::topLevelWidgets())
        delete window;
}

QWidget *TestX11Platform::showCovering(LinuxPlatform &platform)
{
    QWidget *window = platform.createCoveringWindow(QGuiApplication::primaryScreen()->geometry());
    window->show();
    platform.activate(window);
    if (!QTest::qWaitForWindowExposed(window))
        return nullptr;
    return window;
}

void TestX11Platform::idleFromTheXServer()
{
    IdleTime idle(IdleTime::Session::X11, QDBusConnection(QStringLiteral("no bus")));
    xdotool({QStringLiteral("mousemove"), QStringLiteral("11"), QStringLiteral("13")});
    xdotool({QStringLiteral("mousemove"), QStringLiteral("17"), QStringLiteral("19")});
    const double justMoved = idle.idleSeconds();
    QCOMPARE(idle.source(), IdleTime::Source::XScreenSaver);
    QVERIFY2(justMoved >= 0 && justMoved < 2, qPrintable(QString::number(justMoved)));
    QTest::qWait(1500);
    const double later = idle.idleSeconds();
    std::printf("  idle after a move: %.3f s, 1.5 s later: %.3f s\n", justMoved, later);
    QVERIFY2(later >= justMoved + 1.0, qPrintable(QString::number(later)));

    LinuxPlatform platform;
    QVERIFY(std::isfinite(platform.idleSeconds()));
}

void TestX11Platform::coveringWindowCoversItsScreenAboveOthers()
{
    LinuxPlatform platform;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QWidget *window = showCovering(platform);
    QVERIFY(window);
    QTRY_COMPARE(xwininfoGeometry(window), screen);
    QCOMPARE(window->palette().color(QPalette::Window), QColor(Qt::black));
    QVERIFY(window->hasMouseTracking());

    QCOMPARE(xprop(window, QStringLiteral("_NET_WM_NAME")),
        QStringLiteral("_NET_WM_NAME(UTF8_STRING) = \"Daystride Countdown\""));
    QVERIFY(xprop(window, QStringLiteral("WM_CLASS")).contains(QStringLiteral("\"daystride\"")));
    QCOMPARE(xprop(window, QStringLiteral("_NET_WM_DESKTOP")),
        QStringLiteral("_NET_WM_DESKTOP(CARDINAL) = 4294967295"));
    // The window manager owns the state once the window is mapped; openbox keeps
    // "sticky" as the all-desktops value alone and does not list the state.
    const QString supported
        = run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTED")});
    const QString states = xprop(window, QStringLiteral("_NET_WM_STATE"));
    for (const char *state :
        {"_NET_WM_STATE_STICKY", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_FULLSCREEN"}) {
        if (supported.contains(QLatin1String(state)))
            QVERIFY2(states.contains(QLatin1String(state)), qPrintable(states));
    }
    QVERIFY2(states.contains(QLatin1String("_NET_WM_STATE_ABOVE")), qPrintable(states));

    // A normal window opened and activated afterwards still stays below it.
    auto *normal = new QWidget;
    normal->setWindowTitle(QStringLiteral("normal"));
    normal->setGeometry(100, 100, 400, 300);
    normal->show();
    normal->activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(normal));
    QTRY_VERIFY(stacking().contains(hex(normal)));
    const QStringList order = stacking();
    QVERIFY2(order.indexOf(hex(window)) > order.indexOf(hex(normal)), qPrintable(order.join(' ')));
}

void TestX11Platform::closeByOthersIsReported_data()
{
    QTest::addColumn<QString>("closer");
    QTest::addColumn<bool>("reported");
    QTest::newRow("window manager (_NET_CLOSE_WINDOW)") << "wm" << true;
    QTest::newRow("xdotool windowclose") << "xdotool" << true;
    QTest::newRow("the program itself") << "self" << false;
}

void TestX11Platform::closeByOthersIsReported()
{
    QFETCH(QString, closer);
    QFETCH(bool, reported);
    LinuxPlatform platform;
    QSignalSpy closed(&platform, &Platform::coveringWindowClosed);
    QWidget *window = showCovering(platform);
    QVERIFY(window);
    if (closer == u"wm") {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = Window(window->winId());
        event.xclient.message_type = XInternAtom(m_other, "_NET_CLOSE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[1] = 2; // from a pager: the user asked
        XSendEvent(m_other, DefaultRootWindow(m_other), False,
            SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XFlush(m_other);
    } else if (closer == u"xdotool") {
        xdotool({QStringLiteral("windowclose"), hex(window)});
    } else {
        window->close();
    }
    if (reported) {
        QVERIFY(closed.wait(5000));
        QCOMPARE(closed.size(), 1);
        QCOMPARE(closed.first().first().value<QWidget *>(), window);
    } else {
        QTest::qWait(500);
        QCOMPARE(closed.size(), 0);
    }
}

void TestX11Platform::inputMonitorSeesAndSwallowsRealInput_data()
{
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<QEvent::Type>("type");
    QTest::addColumn<int>("button");

    QTest::newRow("mouse move") << QStringList {"mousemove", "300", "200"} << QEvent::MouseMove
                                << 0;
    QTest::newRow("left button") << QStringList {"click", "1"} << QEvent::MouseButtonPress
                                 << int(Qt::LeftButton);
    QTest::newRow("right button") << QStringList {"click", "3"} << QEvent::MouseButtonPress
                                  << int(Qt::RightButton);
    QTest::newRow("middle button")
        << QStringList {"click", "2"} << QEvent::MouseButtonPress << int(Qt::MiddleButton);
    QTest::newRow("wheel") << QStringList {"click", "5"} << QEvent::Wheel << 0;
    QTest::newRow("key") << QStringList {"key", "x"} << QEvent::KeyPress << 0;
}

void TestX11Platform::inputMonitorSeesAndSwallowsRealInput()
{
    QFETCH(QStringList, input);
    QFETCH(QEvent::Type, type);
    QFETCH(int, button);

    LinuxPlatform platform;
    QWidget *window = showCovering(platform);
    QVERIFY(window);
    auto *content = new Recorder(window);
    content->setMouseTracking(true);
    content->setFocusPolicy(Qt::StrongFocus);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    content->show();
    content->setFocus();
    xdotool({QStringLiteral("mousemove"), QStringLiteral("500"), QStringLiteral("500")});

    QList<QEvent::Type> seenFirst;
    QList<QEvent::Type> seenSecond;
    int pressedButton = 0;
    const Platform::MonitorToken first = platform.installInputMonitor([&](QEvent *event) {
        seenFirst.append(event->type());
        if (event->type() == QEvent::MouseButtonPress)
            pressedButton = static_cast<QMouseEvent *>(event)->button();
        return true;
    });
    const Platform::MonitorToken second = platform.installInputMonitor([&](QEvent *event) {
        seenSecond.append(event->type());
        return false;
    });
    QVERIFY(first != 0 && second != 0 && first != second);
    QTRY_VERIFY(platform.grabWindow() == window);
    QTest::qWait(200);
    seenFirst.clear();
    seenSecond.clear();
    content->received.clear();

    xdotool(input);
    QTRY_VERIFY(seenFirst.contains(type));
    QTest::qWait(200);
    QCOMPARE(seenFirst.count(type), 1); // once, not again for each widget
    QCOMPARE(seenSecond.count(type), 1);
    QCOMPARE(pressedButton, button);
    QVERIFY(!content->received.contains(type)); // swallowed

    // Removal by token: the other monitor stays, and lets the input through.
    platform.removeInputMonitor(first);
    seenFirst.clear();
    seenSecond.clear();
    if (input.first() == u"mousemove")
        input = QStringList {"mousemove", "301", "202"};
    // Not a double click: that would come as another kind of event.
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
    xdotool(input);
    QTRY_VERIFY(seenSecond.contains(type));
    QTRY_VERIFY(content->received.contains(type));
    QVERIFY(seenFirst.isEmpty());
    platform.removeInputMonitor(second);
}

void TestX11Platform::keyboardAndPointerAreGrabbedWhileMonitored()
{
    LinuxPlatform platform;
    QWidget *window = showCovering(platform);
    QVERIFY(window);
    const Platform::MonitorToken token
        = platform.installInputMonitor([](QEvent *) { return false; });
    QVERIFY(token != 0);
    QTRY_VERIFY(platform.grabWindow() == window);
    const Window root = DefaultRootWindow(m_other);
    QCOMPARE(XGrabKeyboard(m_other, root, False, GrabModeAsync, GrabModeAsync, CurrentTime),
        AlreadyGrabbed);
    QCOMPARE(XGrabPointer(m_other, root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None,
                 None, CurrentTime),
        AlreadyGrabbed);

    platform.removeInputMonitor(token);
    QVERIFY(!platform.grabWindow());
    QTRY_COMPARE(XGrabKeyboard(m_other, root, False, GrabModeAsync, GrabModeAsync, CurrentTime),
        GrabSuccess);
    QCOMPARE(XGrabPointer(m_other, root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None,
                 None, CurrentTime),
        GrabSuccess);
    XUngrabPointer(m_other, CurrentTime);
    XUngrabKeyboard(m_other, CurrentTime);
    XFlush(m_other);
}

void TestX11Platform::refusedGrabIsReported()
{
    LinuxPlatform platform;
    QSignalSpy failed(&platform, &Platform::inputGrabFailed);
    QWidget *window = showCovering(platform);
    QVERIFY(window);
    // Another client holds the keyboard, as a screen locker or a menu would.
    QCOMPARE(XGrabKeyboard(m_other, DefaultRootWindow(m_other), False, GrabModeAsync, GrabModeAsync,
                 CurrentTime),
        GrabSuccess);
    XSync(m_other, False);
    const Platform::MonitorToken token
        = platform.installInputMonitor([](QEvent *) { return false; });
    QVERIFY(token != 0);
    QVERIFY(failed.wait(10000));
    QCOMPARE(failed.first().first().value<Platform::MonitorToken>(), token);
    QVERIFY(!platform.grabWindow());
    platform.removeInputMonitor(token);
}

void TestX11Platform::pointerHidingIsBalanced()
{
    {
        LinuxPlatform platform;
        platform.showPointer(); // nothing hidden: no-op
        QVERIFY(!QGuiApplication::overrideCursor());
        platform.hidePointer();
        platform.hidePointer();
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        platform.showPointer();
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        platform.showPointer();
        QVERIFY(!QGuiApplication::overrideCursor());
        platform.hidePointer(); // left hidden when the platform goes
    }
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(TestX11Platform)
#include "tst_x11platform.moc"

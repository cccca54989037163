#include "CoveringWindow.h"

#include "CoverPixel.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <xcb/xcb.h>

namespace {
Display *x11Display()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// The names in the window manager's _NET_SUPPORTED.
QList<QByteArray> supportedHints(Display *dpy)
{
    QList<QByteArray> names;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(dpy, DefaultRootWindow(dpy), XInternAtom(dpy, "_NET_SUPPORTED", False),
            0, 4096, False, XA_ATOM, &type, &format, &count, &remaining, &data)
            != Success
        || !data)
        return names;
    if (format == 32) {
        const auto *atoms = reinterpret_cast<const Atom *>(data);
        for (unsigned long i = 0; i < count; ++i) {
            if (char *name = XGetAtomName(dpy, atoms[i])) {
                names.append(QByteArray(name));
                XFree(name);
            }
        }
    }
    XFree(data);
    return names;
}

bool bypassHere()
{
    Display *dpy = x11Display();
    if (!dpy)
        return false;
    QStringList screenNames;
    for (const QScreen *screen : QGuiApplication::screens())
        screenNames.append(screen->name());
    // Asked only under Xwayland: the plain X11 path reads no more than it did.
    if (!CoveringWindow::bypassesWindowManager(screenNames, {}))
        return false;
    return CoveringWindow::bypassesWindowManager(screenNames, supportedHints(dpy));
}
} // namespace

bool CoveringWindow::bypassesWindowManager(
    const QStringList &screenNames, const QList<QByteArray> &supported)
{
    const bool xwayland = std::any_of(screenNames.begin(), screenNames.end(),
        [](const QString &name) { return name.startsWith(QLatin1String("XWAYLAND")); });
    return xwayland && !supported.contains(QByteArrayLiteral("_NET_WM_FULLSCREEN_MONITORS"));
}

CoveringWindow::CoveringWindow(QScreen *screen, const QRect &geometry)
    : QWidget(nullptr,
        Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
            | (bypassHere() ? Qt::X11BypassWindowManagerHint : Qt::WindowFlags()))
    , m_geometry(geometry)
{
    setWindowTitle(QCoreApplication::translate("ScreensaverWindow", "Daystride Countdown"));
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setGeometry(geometry);
    placeOnScreen(screen);
    if (!windowFlags().testFlag(Qt::X11BypassWindowManagerHint))
        setWindowState(Qt::WindowFullScreen);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installNativeEventFilter(this);
}

CoveringWindow::~CoveringWindow()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void CoveringWindow::placeOnScreen(QScreen *screen)
{
    // Full screen goes to the window's screen, so it must be the one it covers. Set
    // before the native window exists: a screen of another X screen needs another root.
    QScreen *target = screen ? screen : QGuiApplication::screenAt(m_geometry.center());
    if (!target)
        return;
    setScreen(target);
    setGeometry(m_geometry);
}

void CoveringWindow::showEvent(QShowEvent *event)
{
    // Sent before the window is mapped: the window manager reads these at the map.
    if (!event->spontaneous()) {
        setX11Hints();
        keepComposited();
    }
    QWidget::showEvent(event);
}

void CoveringWindow::keepComposited()
{
    // Once per native window; with the window, its pixel goes too.
    if (QGuiApplication::platformName() != QLatin1String("wayland") || !windowHandle()
        || windowHandle()->findChild<QWindow *>())
        return;
    (new CoverPixel(windowHandle()))->show();
}

void CoveringWindow::setX11Hints()
{
    Display *dpy = x11Display();
    if (!dpy || m_destroyedByOthers)
        return;
    const Window window = Window(winId());

    char name[] = "daystride";
    char windowClass[] = "Daystride";
    XClassHint hint = {name, windowClass};
    XSetClassHint(dpy, window, &hint);

    // On every desktop.
    const long allDesktops = 0xFFFFFFFF;
    XChangeProperty(dpy, window, XInternAtom(dpy, "_NET_WM_DESKTOP", False), XA_CARDINAL, 32,
        PropModeReplace, reinterpret_cast<const unsigned char *>(&allDesktops), 1);

    // Qt merges its own states (above, full screen) into what is there at the map.
    const Atom netWmState = XInternAtom(dpy, "_NET_WM_STATE", False);
    QList<Atom> states = {XInternAtom(dpy, "_NET_WM_STATE_STICKY", False),
        XInternAtom(dpy, "_NET_WM_STATE_ABOVE", False),
        XInternAtom(dpy, "_NET_WM_STATE_FULLSCREEN", False)};
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(dpy, window, netWmState, 0, 1024, False, XA_ATOM, &type, &format, &count,
            &remaining, &data)
            == Success
        && data) {
        if (format == 32) {
            const auto *existing = reinterpret_cast<const Atom *>(data);
            for (unsigned long i = 0; i < count; ++i) {
                if (!states.contains(existing[i]))
                    states.append(existing[i]);
            }
        }
        XFree(data);
    }
    XChangeProperty(dpy, window, netWmState, XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<const unsigned char *>(states.constData()), int(states.size()));
    XFlush(dpy);
}

void CoveringWindow::closeEvent(QCloseEvent *event)
{
    // A close from the window system comes as a spontaneous event; the program's own
    // close() does not.
    if (event->spontaneous())
        emitLater(&CoveringWindow::closedByOthers);
    QWidget::closeEvent(event);
}

bool CoveringWindow::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t" || !testAttribute(Qt::WA_WState_Created))
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) == XCB_FOCUS_OUT) {
        const auto *focus = static_cast<const xcb_focus_out_event_t *>(message);
        // The focus leaves for a keyboard grab: a screen locker (or anything else
        // that took the keyboard) now gets the input that would close the cover.
        if (focus->event == xcb_window_t(internalWinId()) && focus->mode == XCB_NOTIFY_MODE_GRAB
            && focus->detail != XCB_NOTIFY_DETAIL_POINTER)
            emitLater(&CoveringWindow::keyboardTaken);
        return false;
    }
    if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY)
        return false;
    const auto *destroyed = static_cast<const xcb_destroy_notify_event_t *>(message);
    // Another client destroyed the window (xdotool windowclose, a killed frame).
    if (destroyed->window == xcb_window_t(internalWinId()) && !m_destroyedByOthers) {
        m_destroyedByOthers = true;
        emitLater(&CoveringWindow::closedByOthers);
    }
    return false;
}

void CoveringWindow::emitLater(void (CoveringWindow::*signal)())
{
    // Later: the owner may delete the window, and it must not do so inside its event.
    // Gone by then, the window emits nothing.
    QMetaObject::invokeMethod(this, signal, Qt::QueuedConnection);
}

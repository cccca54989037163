#pragma once

#include <QAbstractNativeEventFilter>
#include <QRect>
#include <QWidget>

// A frameless, black, always-on-top, full-screen top-level window over one screen,
// tracking the mouse. On X11 it is also sticky on every desktop and carries the
// program's window class. Tells when the window manager or another client closed
// it, as opposed to a close by the program itself, and when another client took the
// keyboard from it, as a screen locker does.
// Under Xwayland, a compositor whose X window manager puts every full-screen window
// on the focused output (one that does not offer _NET_WM_FULLSCREEN_MONITORS, as
// wlroots') would stack all covers on one output: there each cover is an
// override-redirect window at its screen's geometry, which the compositor shows
// where it is. On Wayland it carries a CoverPixel, so the compositor always composes it.
class QScreen;

class CoveringWindow : public QWidget, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // Covers `geometry` on `screen`; without a screen, the one at the geometry's centre.
    CoveringWindow(QScreen *screen, const QRect &geometry);
    ~CoveringWindow() override;

    QRect coveredGeometry() const { return m_geometry; }

    // Whether covers go past the window manager: the X server is Xwayland (its outputs
    // are named XWAYLAND0, XWAYLAND1...) and the window manager does not list
    // _NET_WM_FULLSCREEN_MONITORS among the hints it supports.
    static bool bypassesWindowManager(
        const QStringList &screenNames, const QList<QByteArray> &supportedHints);

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

signals:
    void closedByOthers();
    void keyboardTaken();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void placeOnScreen(QScreen *screen);
    void setX11Hints();
    void keepComposited();
    void emitLater(void (CoveringWindow::*signal)());

    QRect m_geometry;
    bool m_destroyedByOthers = false;
};

#pragma once

#include "IdleSource.h"
#include "Timers.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QObject>
#include <QRect>
#include <QString>

#include <functional>

class QEvent;
class QTimer;
class QWidget;
class SettingsStore;

// Every operating-system operation the program needs. The logic above this layer
// (model, controller, views) calls nothing else, so tests can drive it with a fake.
class Platform : public QObject
{
    Q_OBJECT

public:
    using InputHandler = std::function<bool(QEvent *)>; // true swallows the event
    using MonitorToken = quint64; // 0 means "no monitor"

    explicit Platform(QObject *parent = nullptr)
        : QObject(parent)
    {
    }
    ~Platform() override = default;

    // Settings store and clock.
    virtual SettingsStore &settings() = 0;
    virtual QDateTime now() const = 0;

    // Seconds since the user's last input; NaN when no source can tell. Cheap may
    // answer from what the source last reported; Fresh asks it again.
    virtual double idleSeconds(IdleQuery query = IdleQuery::Cheap) = 0;
    // Whether some source tells the idle time: asks once if nothing has yet, then
    // follows the answers of idleSeconds().
    virtual bool idleTimeAvailable() = 0;
    // Whether the session is locked or blanked: nothing is put over a locked session.
    virtual bool isSessionLocked() = 0;
    // Whether another program holds the keyboard, as an X11 screen locker does for as
    // long as it holds the screen.
    virtual bool isInputHeldElsewhere() = 0;
    // Display-sleep assertions held in the session: name -> level. A source that is
    // absent or fails leaves its name out; none answering gives an empty map.
    virtual QMap<QString, qint64> displaySleepAssertions() = 0;

    // Login item: registers or unregisters, and returns the state that now holds.
    virtual bool setLaunchAtLogin(bool enabled) = 0;
    virtual bool launchAtLogin() = 0;
    // The user's change of a login switch: where the answer differs, that answer is
    // applied once more (so a half-done change is undone) and never again, so a
    // login item that can be neither added nor removed cannot flip a switch for ever.
    // Returns the state that now holds.
    bool changeLaunchAtLogin(bool wanted)
    {
        const bool answer = setLaunchAtLogin(wanted);
        return answer == wanted ? answer : setLaunchAtLogin(answer);
    }

    // Screens, in the platform's order, in device-independent pixels.
    virtual QList<QRect> screenGeometries() const = 0;

    // A frameless, always-on-top, full-screen window covering screen `screen` (an
    // index into screenGeometries()), whose geometry is `geometry`. The screen is
    // named, not found from the geometry: separate X screens all start at 0,0.
    // The caller owns it.
    virtual QWidget *createCoveringWindow(int screen, const QRect &geometry) = 0;
    // Makes the window active and raises it.
    virtual void activate(QWidget *window) = 0;
    // Whether ordinary windows get no title bar from the desktop, so they draw their own.
    virtual bool windowsDrawOwnTitleBar() const { return false; }
    virtual void quit() = 0;

    // Balanced: a show without a hide is a no-op.
    virtual void hidePointer() = 0;
    virtual void showPointer() = 0;

    // Sees key press, mouse move, mouse button press and wheel events before any
    // widget does. Returns 0 when the monitor cannot be installed. It takes no grab:
    // the covering windows get input as the focused, topmost windows, so a screen
    // locker can always take the keyboard and pointer.
    virtual MonitorToken installInputMonitor(InputHandler handler) = 0;
    virtual void removeInputMonitor(MonitorToken token) = 0;

    // Timers on the main thread, owned by `owner`: gone with it, they never fire.
    // The first tick comes one interval after the start.
    virtual QTimer *startRepeatingTimer(
        QObject *owner, std::chrono::milliseconds interval, std::function<void()> action)
    {
        return Timers::repeating(owner, interval, std::move(action));
    }
    virtual QTimer *startSecondTicker(QObject *owner, std::function<void()> action)
    {
        return Timers::secondTicker(owner, std::move(action));
    }

signals:
    void idleTimeAvailableChanged(bool available);
    void screensChanged();
    // The window manager or another client closed a covering window.
    void coveringWindowClosed(QWidget *window);
    // The session was locked or blanked, or another program took the keyboard from a
    // covering window, as a screen locker does.
    void sessionLocked();
    // The wall clock jumped (set, or back from sleep) or the time zone changed:
    // whatever shows the time or counts to a moment is stale.
    void wallClockChanged();
};

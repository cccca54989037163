#pragma once

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QTimer>

#include <memory>
#include <optional>

class Platform;
class QEvent;
class QObject;
class ScreensaverWindow;
class TimerViewModel;

// Covers every screen with the countdown when the user has been away, and takes it
// down at the first input. Owned by the view model, which it refers to weakly.
class ScreensaverController
{
public:
    static constexpr int idlePollMilliseconds = 15000;
    static constexpr qint64 dismissGraceMilliseconds = 1000;
    // How late a poll may come while it waits for the minute tick to run it.
    static constexpr int tickGraceMilliseconds = 3000;
    static const QStringList displaySleepAssertionNames;

    explicit ScreensaverController(TimerViewModel *viewModel);
    ~ScreensaverController();

    ScreensaverController(const ScreensaverController &) = delete;
    ScreensaverController &operator=(const ScreensaverController &) = delete;

    TimerViewModel *viewModel() const { return m_viewModel; }
    // One per screen, in screen order; empty exactly when nothing is shown.
    const QList<ScreensaverWindow *> &windows() const { return m_windows; }
    bool isShown() const { return !m_windows.isEmpty(); }
    std::optional<quint64> eventMonitor() const { return m_eventMonitor; }
    const QDateTime &shownAt() const { return m_shownAt; }
    bool hasIdleTimer() const { return m_idleTimer != nullptr; }
    const QTimer *idleTimer() const { return m_idleTimer.get(); }

    // Starts the 15-second idle poll; the first tick comes one interval later.
    // Idempotent. The poll rests while idle showing is off.
    void startIdleTimer();
    // One poll tick: shows the countdown once the user has been idle long enough,
    // unless something keeps the display awake or a screen locker holds the screen.
    void checkIdle();
    // The panel's minute tick wakes the program anyway: polls now and takes the poll's
    // rhythm from it, so every fourth poll shares the tick's wake-up instead of waking
    // the program again a moment apart. Should the next tick not come, that poll comes
    // up to tickGraceMilliseconds late. A no-op while the poll rests.
    void pollWithTick();
    bool isDisplaySleepBlocked();
    // Covers every screen; a no-op while shown or while the session is locked.
    void show();
    // Takes the countdown down; a no-op while hidden.
    void dismiss();

    // idleMinutes x 60 seconds, saturated instead of overflowing; `saturated` tells
    // whether it had to be.
    static double idleThresholdSeconds(qint64 idleMinutes, bool *saturated = nullptr);
    // Earlier than any real time.
    static QDateTime distantPast();

private:
    void followIdleEnabled();
    ScreensaverWindow *createWindow(TimerViewModel *viewModel, int screen, const QRect &frame);
    bool handleInput(QEvent *event);
    void coveringWindowClosed(QWidget *window);
    void screensChanged();
    void closeWindows(QList<ScreensaverWindow *> windows);

    QPointer<TimerViewModel> m_viewModel;
    QList<ScreensaverWindow *> m_windows;
    std::optional<quint64> m_eventMonitor;
    QDateTime m_shownAt;
    std::unique_ptr<QTimer> m_idleTimer;
    // Polls of their own until the next one is the minute tick's.
    int m_pollsBeforeTick = 0;
    // Kept from creation: the view model is only weakly referenced.
    QPointer<Platform> m_platform;
    // Context of every connection and the weak handle of the callbacks that outlive
    // a call: gone with the controller, so they do nothing afterwards.
    std::unique_ptr<QObject> m_lifetime;
};

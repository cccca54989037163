#pragma once

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>

class QWidget;
class TimerViewModel;

// Covers every screen with the countdown when the user has been away, and takes it
// down at the first input. Owned by the view model, which it refers to weakly.
class ScreensaverController
{
public:
    explicit ScreensaverController(TimerViewModel *viewModel);
    ~ScreensaverController();

    ScreensaverController(const ScreensaverController &) = delete;
    ScreensaverController &operator=(const ScreensaverController &) = delete;

    TimerViewModel *viewModel() const { return m_viewModel; }
    const QList<QWidget *> &windows() const { return m_windows; }
    std::optional<quint64> eventMonitor() const { return m_eventMonitor; }
    const QDateTime &shownAt() const { return m_shownAt; }
    bool hasIdleTimer() const { return m_idleTimer != nullptr; }

    // Earlier than any real time.
    static QDateTime distantPast();

private:
    QPointer<TimerViewModel> m_viewModel;
    QList<QWidget *> m_windows;
    std::optional<quint64> m_eventMonitor;
    QDateTime m_shownAt;
    std::unique_ptr<QTimer> m_idleTimer;
};

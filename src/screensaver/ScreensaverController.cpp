#include "ScreensaverController.h"

#include "CountdownView.h"
#include "ScreensaverWindow.h"
#include "model/TimerViewModel.h"
#include "platform/Platform.h"

#include <QEvent>
#include <QWidget>

#include <limits>

const QStringList ScreensaverController::displaySleepAssertionNames
    = {QStringLiteral("PreventUserIdleDisplaySleep"), QStringLiteral("NoDisplaySleepAssertion")};

ScreensaverController::ScreensaverController(TimerViewModel *viewModel)
    : m_viewModel(viewModel)
    , m_shownAt(distantPast())
    , m_platform(viewModel ? &viewModel->platform() : nullptr)
    , m_lifetime(std::make_unique<QObject>())
{
    if (!m_platform)
        return;
    QObject::connect(m_platform, &Platform::coveringWindowClosed, m_lifetime.get(),
        [this](QWidget *window) { coveringWindowClosed(window); });
    QObject::connect(
        m_platform, &Platform::screensChanged, m_lifetime.get(), [this] { screensChanged(); });
    // A cover is no use behind a lock screen, and must not be what the user meets
    // on unlocking.
    QObject::connect(m_platform, &Platform::sessionLocked, m_lifetime.get(), [this] { dismiss(); });
}

ScreensaverController::~ScreensaverController()
{
    // Never leave a cover up with the pointer hidden and input swallowed.
    dismiss();
}

QDateTime ScreensaverController::distantPast()
{
    return QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
}

double ScreensaverController::idleThresholdSeconds(qint64 idleMinutes, bool *saturated)
{
    qint64 seconds = 0;
    const bool overflow = __builtin_mul_overflow(idleMinutes, qint64(60), &seconds);
    if (overflow) {
        seconds = idleMinutes > 0 ? std::numeric_limits<qint64>::max()
                                  : std::numeric_limits<qint64>::min();
    }
    if (saturated)
        *saturated = overflow;
    return double(seconds);
}

void ScreensaverController::startIdleTimer()
{
    if (m_idleTimer)
        return;
    m_idleTimer = std::make_unique<QTimer>();
    m_idleTimer->setInterval(idlePollMilliseconds);
    QPointer<QObject> alive = m_lifetime.get();
    QObject::connect(m_idleTimer.get(), &QTimer::timeout, m_lifetime.get(), [this, alive] {
        if (!alive)
            return;
        checkIdle();
        if (m_pollsBeforeTick > 0 && --m_pollsBeforeTick == 0)
            m_idleTimer->start(idlePollMilliseconds + tickGraceMilliseconds);
        else if (m_idleTimer->interval() != idlePollMilliseconds)
            m_idleTimer->start(idlePollMilliseconds);
    });
    if (m_viewModel) {
        QObject::connect(m_viewModel, &TimerViewModel::idleEnabledChanged, m_lifetime.get(),
            [this] { followIdleEnabled(); });
    }
    followIdleEnabled();
}

void ScreensaverController::followIdleEnabled()
{
    // A poll that would return at its first test only wakes the process: it rests
    // while idle showing is off, and the first poll after switching it on comes one
    // interval later.
    const bool enabled = m_viewModel && m_viewModel->idleEnabled();
    if (!enabled) {
        m_idleTimer->stop();
    } else if (!m_idleTimer->isActive()) {
        m_pollsBeforeTick = 0;
        m_idleTimer->start(idlePollMilliseconds);
        // The Wayland idle protocols count only from their subscription, made at the
        // first question: asked now, the first poll already sees the whole absence.
        QPointer<QObject> alive = m_lifetime.get();
        QTimer::singleShot(0, m_lifetime.get(), [this, alive] {
            if (alive && m_platform)
                m_platform->idleSeconds();
        });
    }
}

void ScreensaverController::pollWithTick()
{
    if (!m_idleTimer || !m_idleTimer->isActive())
        return;
    checkIdle();
    constexpr int pollsPerTick = 60000 / idlePollMilliseconds;
    m_pollsBeforeTick = pollsPerTick - 1;
    m_idleTimer->start(idlePollMilliseconds);
}

void ScreensaverController::checkIdle()
{
    const QPointer<TimerViewModel> viewModel = m_viewModel;
    if (!viewModel || !m_platform)
        return;
    // Cheap tests first; the assertion query only once the threshold is passed.
    if (!viewModel->idleEnabled())
        return;
    if (!m_windows.isEmpty())
        return;
    const double idle = m_platform->idleSeconds();
    bool saturated = false;
    const double threshold = idleThresholdSeconds(viewModel->idleMinutes(), &saturated);
    // A delay beyond any representable time is never reached.
    if (saturated || !(idle >= threshold))
        return;
    // The screens are covered only on the source's own word, not on an estimate.
    if (!(m_platform->idleSeconds(IdleQuery::Fresh) >= threshold))
        return;
    if (isDisplaySleepBlocked())
        return;
    // A screen locker holds the keyboard for as long as it holds the screen.
    if (!m_platform->isInputHeldElsewhere())
        show();
}

bool ScreensaverController::isDisplaySleepBlocked()
{
    if (!m_platform)
        return false;
    const QMap<QString, qint64> assertions = m_platform->displaySleepAssertions();
    for (const QString &name : displaySleepAssertionNames) {
        if (assertions.value(name, 0) > 0)
            return true;
    }
    return false;
}

ScreensaverWindow *ScreensaverController::createWindow(
    TimerViewModel *viewModel, int screen, const QRect &frame)
{
    QWidget *platformWindow = m_platform->createCoveringWindow(screen, frame);
    if (!platformWindow)
        return nullptr;
    auto *window = new ScreensaverWindow(platformWindow);
    // Fresh state on every showing: zeros, no quote yet.
    window->setContent(new CountdownView(viewModel, TimeRemaining(), 0, QString()));
    window->setFrame(frame);
    window->makeKeyAndOrderFront();
    return window;
}

void ScreensaverController::show()
{
    if (!m_windows.isEmpty())
        return;
    const QPointer<TimerViewModel> viewModel = m_viewModel;
    if (!viewModel || !m_platform)
        return;
    const QList<QRect> screens = m_platform->screenGeometries();
    // No screen, nothing to cover: a cover with no window could never be closed.
    if (screens.isEmpty())
        return;
    if (m_platform->isSessionLocked())
        return;

    QList<ScreensaverWindow *> windows;
    for (int i = 0; i < screens.size(); ++i) {
        ScreensaverWindow *window = createWindow(viewModel, i, screens[i]);
        if (!window) {
            closeWindows(windows);
            return;
        }
        windows.append(window);
    }
    m_windows = windows;

    const QDateTime previousShownAt = m_shownAt;
    m_shownAt = m_platform->now();
    m_platform->activate(m_windows.last()->window());
    m_platform->hidePointer();

    QPointer<QObject> alive = m_lifetime.get();
    const Platform::MonitorToken token = m_platform->installInputMonitor(
        [this, alive](QEvent *event) { return alive ? handleInput(event) : false; });
    if (token == 0) {
        // A cover that input cannot close: take it down at once.
        m_eventMonitor.reset();
        m_shownAt = previousShownAt;
        closeWindows(std::exchange(m_windows, {}));
        m_platform->showPointer();
        return;
    }
    m_eventMonitor = token;
}

bool ScreensaverController::handleInput(QEvent *event)
{
    if (!event || !m_platform)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // the second press of a double click
    case QEvent::Wheel:
        break;
    default:
        return false;
    }
    if (m_windows.isEmpty())
        return false;
    const QDateTime now = m_platform->now();
    // A clock set back would keep the cover up until it caught up again.
    if (now < m_shownAt)
        m_shownAt = now;
    if (m_shownAt.msecsTo(now) >= dismissGraceMilliseconds)
        dismiss();
    return true;
}

void ScreensaverController::dismiss()
{
    if (m_windows.isEmpty())
        return;
    if (m_eventMonitor && m_platform)
        m_platform->removeInputMonitor(*m_eventMonitor);
    m_eventMonitor.reset();
    // Emptied before closing, so a close reported back to us finds nothing to do.
    closeWindows(std::exchange(m_windows, {}));
    if (m_platform)
        m_platform->showPointer();
}

void ScreensaverController::closeWindows(QList<ScreensaverWindow *> windows)
{
    for (ScreensaverWindow *window : windows)
        window->close();
    qDeleteAll(windows);
}

void ScreensaverController::coveringWindowClosed(QWidget *window)
{
    for (const ScreensaverWindow *own : std::as_const(m_windows)) {
        if (own->window() == window) {
            // One screen uncovered means the showing is over.
            dismiss();
            return;
        }
    }
}

void ScreensaverController::screensChanged()
{
    if (m_windows.isEmpty() || !m_platform)
        return;
    const QPointer<TimerViewModel> viewModel = m_viewModel;
    const QList<QRect> screens = m_platform->screenGeometries();
    if (screens.isEmpty() || !viewModel) {
        dismiss();
        return;
    }
    // Keep the window of every screen that stays; cover new screens; close the rest.
    QList<ScreensaverWindow *> unused = m_windows;
    QList<ScreensaverWindow *> windows;
    for (int i = 0; i < screens.size(); ++i) {
        const QRect &frame = screens[i];
        auto it = std::find_if(unused.begin(), unused.end(),
            [&](const ScreensaverWindow *window) { return window->frame() == frame; });
        if (it != unused.end()) {
            windows.append(*it);
            unused.erase(it);
        } else if (ScreensaverWindow *window = createWindow(viewModel, i, frame)) {
            windows.append(window);
        }
    }
    m_windows = windows;
    closeWindows(unused);
    if (m_windows.isEmpty()) {
        // Every window gone: end the showing cleanly.
        if (m_eventMonitor)
            m_platform->removeInputMonitor(*m_eventMonitor);
        m_eventMonitor.reset();
        m_platform->showPointer();
        return;
    }
    m_platform->activate(m_windows.last()->window());
}

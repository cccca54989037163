#include "menubar/DaystrideApp.h"

#include "menubar/FocusOnShow.h"
#include "menubar/PanelItem.h"
#include "menubar/Popover.h"
#include "menubar/SingleInstance.h"
#include "model/Countdown.h"
#include "model/TimerViewModel.h"
#include "onboarding/OnboardingView.h"
#include "platform/Platform.h"
#include "screensaver/ScreensaverController.h"
#include "settings/SettingsView.h"
#include "settings/SettingsWindow.h"
#include "ui/Units.h"

DaystrideApp::DaystrideApp(Platform &platform, QObject *parent)
    : QObject(parent)
    , m_platform(platform)
    , m_instance(std::make_unique<SingleInstance>())
{
    // Announcements come before the change: read the text once the burst is over.
    m_labelRefresh.setSingleShot(true);
    m_labelRefresh.setInterval(0);
    connect(&m_labelRefresh, &QTimer::timeout, this, &DaystrideApp::refreshPanelText);
    m_minuteTick.setSingleShot(true);
    m_minuteTick.setTimerType(Qt::PreciseTimer);
    connect(&m_minuteTick, &QTimer::timeout, this, &DaystrideApp::minuteTick);
}

DaystrideApp::~DaystrideApp()
{
    delete m_onboarding;
}

bool DaystrideApp::start()
{
    if (m_instance->claim() == SingleInstance::Claim::otherInstanceAnswered)
        return false;
    connect(m_instance.get(), &SingleInstance::popoverRequested, this,
        [this](const QString &token) { showPopover(QPoint(), token); });

    m_viewModel = std::make_unique<TimerViewModel>(m_platform);
    connect(m_viewModel.get(), &TimerViewModel::objectWillChange, &m_labelRefresh,
        qOverload<>(&QTimer::start));

    m_panel = std::make_unique<PanelItem>();
    connect(m_panel.get(), &PanelItem::activated, this,
        [this](const QPoint &at) { popover()->toggleAt(at, m_panel->takeActivationToken()); });
    // The menu's entries do what the popover's buttons do.
    connect(m_panel.get(), &PanelItem::openRequested, this,
        [this] { showPopover(QPoint(), m_panel->takeActivationToken()); });
    connect(m_panel.get(), &PanelItem::showCountdownRequested, this, [this] {
        if (m_popover)
            m_popover->close();
        m_viewModel->screensaver()->show();
    });
    connect(m_panel.get(), &PanelItem::settingsRequested, this, [this] {
        if (m_popover)
            m_popover->close();
        openSettings(m_panel->takeActivationToken());
    });
    connect(m_panel.get(), &PanelItem::quitRequested, this, [this] { m_platform.quit(); });
    refreshPanelText();
    // The panel item is in place: the idle watch runs from now on.
    m_viewModel->screensaver()->startIdleTimer();
    connect(&m_platform, &Platform::wallClockChanged, this, &DaystrideApp::minuteTick);

    if (!m_viewModel->hasCompletedOnboarding())
        openOnboarding();
    return true;
}

Popover *DaystrideApp::popover() const
{
    if (!m_popover && m_viewModel) {
        m_popover = std::make_unique<Popover>(*m_viewModel);
        connect(m_popover.get(), &Popover::settingsRequested, this,
            [this] { const_cast<DaystrideApp *>(this)->openSettings(); });
    }
    return m_popover.get();
}

OnboardingView *DaystrideApp::onboarding() const
{
    return m_onboarding;
}

void DaystrideApp::showPopover(const QPoint &anchor, const QString &activationToken)
{
    if (Popover *popover = this->popover())
        popover->showAt(anchor, activationToken);
}

void DaystrideApp::openSettings(const QString &activationToken)
{
    if (!m_viewModel)
        return;
    if (!m_settings) {
        m_settings = std::make_unique<SettingsWindow>(*m_viewModel);
        m_settings->setShowWelcomeGuide([this] { openOnboarding(); });
    }
    m_settings->open();
    // Again once it is on screen: a Wayland compositor ignores a request before.
    FocusOnShow::request(m_settings->view(), activationToken);
}

void DaystrideApp::openOnboarding()
{
    if (!m_viewModel)
        return;
    // One guide at most; a closed one is only waiting to be deleted.
    if (m_onboarding && !m_onboarding->isVisible())
        m_onboarding.clear();
    if (!m_onboarding) {
        m_onboarding = new OnboardingView(*m_viewModel);
        m_onboarding->setAttribute(Qt::WA_DeleteOnClose);
        m_onboarding->show();
    }
    m_platform.activate(m_onboarding);
}

void DaystrideApp::minuteTick()
{
    if (!m_viewModel)
        return;
    emit m_viewModel->objectWillChange();
    m_viewModel->screensaver()->pollWithTick();
}

void DaystrideApp::refreshPanelText()
{
    if (!m_panel || !m_viewModel)
        return;
    const QString text = m_viewModel->menuBarText();
    // The tooltip says it in words: a screen reader reads it, not "3d 4h".
    const QString spoken = text.trimmed().isEmpty()
        ? QString()
        : Units::untilEvent(m_viewModel->eventName(), m_viewModel->timeRemaining());
    m_panel->setText(text, spoken);
    armMinuteTick();
}

void DaystrideApp::armMinuteTick()
{
    // From the wall clock each time, so a tick follows the clock's minute rather than
    // the program's start, and a jump of the clock moves the next one with it.
    m_minuteTick.start(int(msecsToNextTextChange(m_platform.now(), m_viewModel->timerDate())));
}

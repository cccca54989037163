#pragma once

#include "onboarding/GuidePage.h"

class Stepper;
class Switch;

// The guide's fourth page: showing the countdown when idle, its delay, a preview,
// and launching at login.
class ScreensaverPage : public GuidePage
{
    Q_OBJECT

public:
    ScreensaverPage(TimerViewModel &viewModel, bool launchAtLogin, QWidget *parent);

    void refresh() override;

    Switch *idleSwitch() const { return m_idle; }
    Stepper *delayStepper() const { return m_delay; }
    QWidget *delayRow() const { return m_delayRow; }
    Switch *loginSwitch() const { return m_loginSwitch; }

signals:
    // The state that holds after the user turned the switch.
    void launchAtLoginChanged(bool enabled);

private:
    void userChangedLaunchAtLogin(bool enabled);

    Switch *m_idle = nullptr;
    Stepper *m_delay = nullptr;
    QWidget *m_delayRow = nullptr;
    Switch *m_loginSwitch = nullptr;
};

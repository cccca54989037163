#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include <memory>

class PanelItem;
class Platform;
class OnboardingView;
class Popover;
class SettingsWindow;
class SingleInstance;
class TimerViewModel;

// The application: owns the one view model, the panel item with its popover, the
// minute tick of the panel text and the windows opened from them. The tick is armed
// afresh from the wall clock at each refresh, for the next turn of the minute.
class DaystrideApp : public QObject
{
    Q_OBJECT

public:
    explicit DaystrideApp(Platform &platform, QObject *parent = nullptr);
    ~DaystrideApp() override;

    // Takes the session's single-instance name, loads the settings and puts the
    // item in the panel. False when another instance was asked to take over.
    bool start();

    TimerViewModel &viewModel() const { return *m_viewModel; }
    PanelItem *panelItem() const { return m_panel.get(); }
    Popover *popover() const;
    SettingsWindow *settingsWindow() const { return m_settings.get(); }
    OnboardingView *onboarding() const;
    const QTimer &minuteTimer() const { return m_minuteTick; }
    // What the minute timer does, and what a jump of the wall clock or a new time
    // zone does at once: every open view redraws, the panel text follows.
    void minuteTick();

    void showPopover(const QPoint &anchor, const QString &activationToken = {});
    void openSettings(const QString &activationToken = {});
    void openOnboarding();

private:
    void refreshPanelText();
    void armMinuteTick();

    Platform &m_platform;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<TimerViewModel> m_viewModel;
    std::unique_ptr<PanelItem> m_panel;
    mutable std::unique_ptr<Popover> m_popover;
    std::unique_ptr<SettingsWindow> m_settings;
    QPointer<OnboardingView> m_onboarding;
    QTimer m_minuteTick;
    QTimer m_labelRefresh;
};

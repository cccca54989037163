#pragma once

#include "Platform.h"

#include <QList>

#include <memory>
#include <optional>

class CoveringWindow;
class DisplaySleepAssertions;
class IdleTime;
class InputMonitor;
class QScreen;
class SessionLock;
class WallClock;
class XScreenSaverSuspensions;

// The real platform: QSettings, the system clock, X11 and D-Bus services.
class LinuxPlatform : public Platform
{
    Q_OBJECT

public:
    explicit LinuxPlatform(QObject *parent = nullptr);
    ~LinuxPlatform() override;

    SettingsStore &settings() override;
    // Drops the settings store, so the next read sees the file as it is now.
    void rereadSettings();
    QDateTime now() const override;

    double idleSeconds(IdleQuery query = IdleQuery::Cheap) override;
    bool idleTimeAvailable() override;
    bool isSessionLocked() override;
    bool isInputHeldElsewhere() override;
    QMap<QString, qint64> displaySleepAssertions() override;

    bool setLaunchAtLogin(bool enabled) override;
    bool launchAtLogin() override;

    QList<QRect> screenGeometries() const override;

    QWidget *createCoveringWindow(int screen, const QRect &geometry) override;
    void activate(QWidget *window) override;
    bool windowsDrawOwnTitleBar() const override;
    void quit() override;

    void hidePointer() override;
    void showPointer() override;
    int pointerHideDepth() const { return m_pointerHideDepth; }

    MonitorToken installInputMonitor(InputHandler handler) override;
    void removeInputMonitor(MonitorToken token) override;

private:
    void watchScreen(QScreen *screen);
    void announceScreensChanged();
    SessionLock &sessionLock();

    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<IdleTime> m_idle;
    std::optional<bool> m_idleTimeAvailable;
    std::unique_ptr<DisplaySleepAssertions> m_assertions;
    std::unique_ptr<SessionLock> m_sessionLock;
    std::unique_ptr<XScreenSaverSuspensions> m_screenSaverSuspensions;
    std::unique_ptr<InputMonitor> m_input;
    std::unique_ptr<WallClock> m_wallClock;
    int m_pointerHideDepth = 0;
    bool m_screensChangePending = false;
};

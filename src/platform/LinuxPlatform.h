#pragma once

#include "Platform.h"

#include <memory>

// The real platform: QSettings, the system clock, X11 and D-Bus services.
class LinuxPlatform : public Platform
{
    Q_OBJECT

public:
    explicit LinuxPlatform(QObject *parent = nullptr);
    ~LinuxPlatform() override;

    SettingsStore &settings() override;
    QDateTime now() const override;

    double idleSeconds() override;
    QMap<QString, qint64> displaySleepAssertions() override;

    bool setLaunchAtLogin(bool enabled) override;
    bool launchAtLogin() override;

    QList<QRect> screenGeometries() const override;

    QWidget *createCoveringWindow(const QRect &geometry) override;
    void activate(QWidget *window) override;
    void quit() override;

    void hidePointer() override;
    void showPointer() override;

    MonitorToken installInputMonitor(InputHandler handler) override;
    void removeInputMonitor(MonitorToken token) override;

private:
    std::unique_ptr<SettingsStore> m_settings;
};

#pragma once

#include "platform/Platform.h"

#include <QMap>

#include <cmath>
#include <memory>
#include <optional>

// A platform for tests: the real settings store (in the test's XDG_CONFIG_HOME),
// with the clock, idle time, assertions, screens and login item set by the test.
class FakePlatform : public Platform
{
    Q_OBJECT

public:
    explicit FakePlatform(QObject *parent = nullptr);
    ~FakePlatform() override;

    SettingsStore &settings() override;
    // Kept as an instant, so a test's change of time zone does not move it.
    QDateTime now() const override
    {
        return m_now ? m_now->toLocalTime() : QDateTime::currentDateTime();
    }

    double idleSeconds(IdleQuery query = IdleQuery::Cheap) override;
    bool idleTimeAvailable() override { return !std::isnan(idle); }
    bool isSessionLocked() override { return sessionLockedNow; }
    bool isInputHeldElsewhere() override { return inputHeldElsewhere; }
    QMap<QString, qint64> displaySleepAssertions() override;

    bool setLaunchAtLogin(bool enabled) override;
    bool launchAtLogin() override { return loginItemEnabled; }

    QList<QRect> screenGeometries() const override { return screens; }

    QWidget *createCoveringWindow(int screen, const QRect &geometry) override;
    void activate(QWidget *window) override;
    void quit() override { ++quitCount; }
    bool windowsDrawOwnTitleBar() const override { return ownTitleBar; }

    void hidePointer() override { ++pointerHideDepth; }
    void showPointer() override;

    MonitorToken installInputMonitor(InputHandler handler) override;
    void removeInputMonitor(MonitorToken token) override;

    // Sends an event through every installed monitor; true when one swallowed it.
    bool deliverInput(QEvent *event);

    // Drops the settings store, as a restart of the program would.
    void restart();

    void setNow(const QDateTime &now) { m_now = now.toUTC(); }
    void advance(qint64 msecs) { m_now = now().addMSecs(msecs); }

    double idle = std::nan("");
    std::optional<double> freshIdle; // what a fresh query answers, when it differs
    int idleQueries = 0; // cheap ones
    int freshIdleQueries = 0;
    QMap<QString, qint64> assertions;
    bool sessionLockedNow = false;
    bool inputHeldElsewhere = false;
    int assertionQueries = 0;
    bool loginItemEnabled = false;
    bool ownTitleBar = false;
    bool loginItemWritable = true; // false: every change fails and the state stays
    int loginItemCalls = 0;
    QList<QRect> screens = {QRect(0, 0, 1920, 1080)};
    bool refuseInputMonitor = false;
    int pointerHideDepth = 0;
    int activateCount = 0;
    int quitCount = 0;
    QMap<MonitorToken, InputHandler> monitors;

private:
    std::unique_ptr<SettingsStore> m_settings;
    std::optional<QDateTime> m_now;
    MonitorToken m_nextToken = 1;
};

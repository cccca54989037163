#pragma once

#include "Platform.h"

#include <QList>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>

class CoveringWindow;
class DisplaySleepAssertions;
class IdleTime;
class InputMonitor;
class QScreen;
class QWindow;
class WallClock;

// The real platform: QSettings, the system clock, X11 and D-Bus services.
class LinuxPlatform : public Platform
{
    Q_OBJECT

public:
    // How long a refused keyboard or pointer grab is tried again before it is
    // reported: a window that was just shown is not viewable until the window
    // manager has mapped it.
    static constexpr int grabRetryMilliseconds = 50;
    static constexpr int grabAttempts = 40;

    explicit LinuxPlatform(QObject *parent = nullptr);
    ~LinuxPlatform() override;

    SettingsStore &settings() override;
    QDateTime now() const override;

    double idleSeconds(IdleQuery query = IdleQuery::Cheap) override;
    bool idleTimeAvailable() override;
    QMap<QString, qint64> displaySleepAssertions() override;

    bool setLaunchAtLogin(bool enabled) override;
    bool launchAtLogin() override;

    QList<QRect> screenGeometries() const override;

    QWidget *createCoveringWindow(int screen, const QRect &geometry) override;
    void activate(QWidget *window) override;
    void quit() override;

    void hidePointer() override;
    void showPointer() override;
    int pointerHideDepth() const { return m_pointerHideDepth; }

    MonitorToken installInputMonitor(InputHandler handler) override;
    void removeInputMonitor(MonitorToken token) override;
    // The window that holds the keyboard and pointer grab, if any.
    QWidget *grabWindow() const;

private:
    void watchScreen(QScreen *screen);
    void announceScreensChanged();
    CoveringWindow *keyCoveringWindow() const;
    void tryGrab();
    void releaseGrab();

    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<IdleTime> m_idle;
    std::optional<bool> m_idleTimeAvailable;
    std::unique_ptr<DisplaySleepAssertions> m_assertions;
    std::unique_ptr<InputMonitor> m_input;
    std::unique_ptr<WallClock> m_wallClock;
    QList<QPointer<CoveringWindow>> m_coveringWindows;
    QPointer<CoveringWindow> m_keyWindow;
    QPointer<QWindow> m_grabbed;
    MonitorToken m_grabToken = 0;
    int m_grabAttemptsLeft = 0;
    QTimer m_grabRetry;
    int m_pointerHideDepth = 0;
    bool m_screensChangePending = false;
};

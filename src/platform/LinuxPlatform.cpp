#include "LinuxPlatform.h"

#include "CoveringWindow.h"
#include "DisplaySleepAssertions.h"
#include "IdleTime.h"
#include "InputMonitor.h"
#include "LoginItem.h"
#include "SessionLock.h"
#include "SettingsStore.h"
#include "WallClock.h"
#include "WaylandDecorations.h"
#include "XScreenSaverSuspensions.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <cmath>

LinuxPlatform::LinuxPlatform(QObject *parent)
    : Platform(parent)
    , m_input(std::make_unique<InputMonitor>())
{
    if (QCoreApplication::instance()) {
        m_wallClock = std::make_unique<WallClock>(QDBusConnection::systemBus());
        connect(m_wallClock.get(), &WallClock::changed, this, &Platform::wallClockChanged);
    }
    if (!qGuiApp)
        return;
    // From the start: a program keeps the screen on long before anyone asks.
    if (QGuiApplication::platformName() == u"xcb")
        m_screenSaverSuspensions = std::make_unique<XScreenSaverSuspensions>();
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        watchScreen(screen);
        announceScreensChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &LinuxPlatform::announceScreensChanged);
    for (QScreen *screen : QGuiApplication::screens())
        watchScreen(screen);
}

LinuxPlatform::~LinuxPlatform()
{
    // A hidden pointer must not outlive the platform that hid it.
    while (m_pointerHideDepth > 0)
        showPointer();
}

SettingsStore &LinuxPlatform::settings()
{
    if (!m_settings)
        m_settings = std::make_unique<SettingsStore>();
    return *m_settings;
}

void LinuxPlatform::rereadSettings()
{
    m_settings.reset();
}

QDateTime LinuxPlatform::now() const
{
    return QDateTime::currentDateTime();
}

double LinuxPlatform::idleSeconds(IdleQuery query)
{
    // Made on first use, so the buses are those of the environment at that time.
    if (!m_idle)
        m_idle
            = std::make_unique<IdleTime>(IdleTime::currentSession(), QDBusConnection::sessionBus());
    const double seconds = m_idle->idleSeconds(query);
    const bool available = !std::isnan(seconds);
    if (m_idleTimeAvailable != available) {
        const bool known = m_idleTimeAvailable.has_value();
        m_idleTimeAvailable = available;
        if (known)
            emit idleTimeAvailableChanged(available);
    }
    return seconds;
}

bool LinuxPlatform::idleTimeAvailable()
{
    if (!m_idleTimeAvailable)
        idleSeconds();
    return *m_idleTimeAvailable;
}

SessionLock &LinuxPlatform::sessionLock()
{
    // Made on first use, so the buses are those of the environment at that time; from
    // then on its signals end a showing when the session locks.
    if (!m_sessionLock) {
        m_sessionLock = std::make_unique<SessionLock>(
            QDBusConnection::sessionBus(), QDBusConnection::systemBus());
        connect(m_sessionLock.get(), &SessionLock::locked, this, &Platform::sessionLocked);
    }
    return *m_sessionLock;
}

bool LinuxPlatform::isSessionLocked()
{
    return sessionLock().isLocked();
}

bool LinuxPlatform::isInputHeldElsewhere()
{
    // While a pop-up of the program's own is open the keyboard is its own: asking
    // would release that grab.
    if (QApplication::activePopupWidget())
        return false;
    return SessionLock::keyboardHeldElsewhere();
}

QMap<QString, qint64> LinuxPlatform::displaySleepAssertions()
{
    if (!m_assertions) {
        m_assertions = std::make_unique<DisplaySleepAssertions>(
            QDBusConnection::sessionBus(), QDBusConnection::systemBus());
    }
    QMap<QString, qint64> assertions = m_assertions->query();
    // An X11 program's screen saver suspension keeps the display awake, as a session
    // inhibitor does.
    if (m_screenSaverSuspensions && m_screenSaverSuspensions->isHeld())
        assertions[QStringLiteral("PreventUserIdleDisplaySleep")] = 1;
    return assertions;
}

bool LinuxPlatform::setLaunchAtLogin(bool enabled)
{
    return LoginItem().setEnabled(enabled);
}

bool LinuxPlatform::launchAtLogin()
{
    return LoginItem().isEnabled();
}

QList<QRect> LinuxPlatform::screenGeometries() const
{
    QList<QRect> geometries;
    for (const QScreen *screen : QGuiApplication::screens())
        geometries.append(screen->geometry());
    return geometries;
}

void LinuxPlatform::watchScreen(QScreen *screen)
{
    // A screen that changes its size needs its cover resized, as a new one would.
    connect(screen, &QScreen::geometryChanged, this, &LinuxPlatform::announceScreensChanged);
}

void LinuxPlatform::announceScreensChanged()
{
    // Later, once: a removed screen is still listed while its signal is delivered, and
    // one change of the layout comes as several signals.
    if (m_screensChangePending)
        return;
    m_screensChangePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_screensChangePending = false;
            emit screensChanged();
        },
        Qt::QueuedConnection);
}

QWidget *LinuxPlatform::createCoveringWindow(int screen, const QRect &geometry)
{
    auto *window = new CoveringWindow(QGuiApplication::screens().value(screen), geometry);
    connect(window, &CoveringWindow::closedByOthers, this,
        [this, window] { emit coveringWindowClosed(window); });
    connect(window, &CoveringWindow::keyboardTaken, this, &Platform::sessionLocked);
    return window;
}

bool LinuxPlatform::windowsDrawOwnTitleBar() const
{
    return WaylandDecorations::windowsDrawOwnTitleBar();
}

void LinuxPlatform::activate(QWidget *window)
{
    if (!window)
        return;
    window->raise();
    window->activateWindow();
}

void LinuxPlatform::quit()
{
    QCoreApplication::quit();
}

void LinuxPlatform::hidePointer()
{
    if (!qGuiApp)
        return;
    // On Wayland a transparent image: when the pointer enters a surface (a cover that
    // has just appeared under it) Qt 6.4 sends nothing for a blank cursor, and the
    // compositor goes on drawing its arrow.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        QPixmap clear(1, 1);
        clear.fill(Qt::transparent);
        QGuiApplication::setOverrideCursor(QCursor(clear));
    } else {
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    }
    ++m_pointerHideDepth;
}

void LinuxPlatform::showPointer()
{
    if (m_pointerHideDepth == 0 || !qGuiApp)
        return;
    --m_pointerHideDepth;
    QGuiApplication::restoreOverrideCursor();
}

Platform::MonitorToken LinuxPlatform::installInputMonitor(InputHandler handler)
{
    return m_input->install(std::move(handler));
}

void LinuxPlatform::removeInputMonitor(MonitorToken token)
{
    m_input->remove(token);
}

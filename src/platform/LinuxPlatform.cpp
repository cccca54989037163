#include "LinuxPlatform.h"

#include "CoveringWindow.h"
#include "DisplaySleepAssertions.h"
#include "IdleTime.h"
#include "InputMonitor.h"
#include "LoginItem.h"
#include "SettingsStore.h"
#include "WallClock.h"

#include <QApplication>
#include <QDBusConnection>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <cmath>

LinuxPlatform::LinuxPlatform(QObject *parent)
    : Platform(parent)
    , m_input(std::make_unique<InputMonitor>())
{
    m_grabRetry.setSingleShot(true);
    m_grabRetry.setInterval(grabRetryMilliseconds);
    connect(&m_grabRetry, &QTimer::timeout, this, &LinuxPlatform::tryGrab);
    if (QCoreApplication::instance()) {
        m_wallClock = std::make_unique<WallClock>(QDBusConnection::systemBus());
        connect(m_wallClock.get(), &WallClock::changed, this, &Platform::wallClockChanged);
    }
    if (!qGuiApp)
        return;
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
    releaseGrab();
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

QMap<QString, qint64> LinuxPlatform::displaySleepAssertions()
{
    if (!m_assertions) {
        m_assertions = std::make_unique<DisplaySleepAssertions>(
            QDBusConnection::sessionBus(), QDBusConnection::systemBus());
    }
    return m_assertions->query();
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
    m_coveringWindows.append(window);
    connect(window, &CoveringWindow::closedByOthers, this,
        [this, window] { emit coveringWindowClosed(window); });
    return window;
}

void LinuxPlatform::activate(QWidget *window)
{
    if (!window)
        return;
    window->raise();
    window->activateWindow();
    if (auto *covering = qobject_cast<CoveringWindow *>(window)) {
        m_keyWindow = covering;
        if (!m_input->isEmpty() && m_grabbed != covering->windowHandle()) {
            releaseGrab();
            m_grabAttemptsLeft = grabAttempts;
            tryGrab();
        }
    }
}

void LinuxPlatform::quit()
{
    QCoreApplication::quit();
}

void LinuxPlatform::hidePointer()
{
    if (!qGuiApp)
        return;
    QGuiApplication::setOverrideCursor(Qt::BlankCursor);
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
    const MonitorToken token = m_input->install(std::move(handler));
    if (token != 0 && !m_grabbed && !m_grabRetry.isActive()) {
        m_grabToken = token;
        m_grabAttemptsLeft = grabAttempts;
        tryGrab();
    }
    return token;
}

void LinuxPlatform::removeInputMonitor(MonitorToken token)
{
    m_input->remove(token);
    if (m_input->isEmpty())
        releaseGrab();
}

QWidget *LinuxPlatform::grabWindow() const
{
    for (const QPointer<CoveringWindow> &window : m_coveringWindows) {
        if (window && m_grabbed && window->windowHandle() == m_grabbed)
            return window;
    }
    return nullptr;
}

CoveringWindow *LinuxPlatform::keyCoveringWindow() const
{
    if (m_keyWindow && m_keyWindow->isVisible())
        return m_keyWindow;
    for (auto it = m_coveringWindows.crbegin(); it != m_coveringWindows.crend(); ++it) {
        if (*it && (*it)->isVisible())
            return *it;
    }
    return nullptr;
}

void LinuxPlatform::tryGrab()
{
    // Only X11 lets a client take the keyboard; a Wayland compositor gives the
    // active window its input by itself.
    if (m_input->isEmpty() || m_grabbed || QGuiApplication::platformName() != u"xcb")
        return;
    CoveringWindow *key = keyCoveringWindow();
    QWindow *handle = key ? key->windowHandle() : nullptr;
    if (!handle)
        return; // nothing covers the screen, so there is nothing to keep input for
    const bool keyboard = handle->setKeyboardGrabEnabled(true);
    const bool pointer = keyboard && handle->setMouseGrabEnabled(true);
    if (keyboard && pointer) {
        m_grabbed = handle;
        return;
    }
    if (keyboard)
        handle->setKeyboardGrabEnabled(false);
    if (--m_grabAttemptsLeft > 0) {
        m_grabRetry.start();
        return;
    }
    emit inputGrabFailed(m_grabToken);
}

void LinuxPlatform::releaseGrab()
{
    m_grabRetry.stop();
    if (m_grabbed) {
        m_grabbed->setMouseGrabEnabled(false);
        m_grabbed->setKeyboardGrabEnabled(false);
    }
    m_grabbed = nullptr;
}

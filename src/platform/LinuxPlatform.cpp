#include "LinuxPlatform.h"

#include "SettingsStore.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

LinuxPlatform::LinuxPlatform(QObject *parent)
    : Platform(parent)
{
}

LinuxPlatform::~LinuxPlatform() = default;

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

double LinuxPlatform::idleSeconds()
{
    return std::nan("");
}

QMap<QString, qint64> LinuxPlatform::displaySleepAssertions()
{
    return {};
}

bool LinuxPlatform::setLaunchAtLogin(bool)
{
    return false;
}

bool LinuxPlatform::launchAtLogin()
{
    return false;
}

QList<QRect> LinuxPlatform::screenGeometries() const
{
    QList<QRect> geometries;
    for (const QScreen *screen : QGuiApplication::screens())
        geometries.append(screen->geometry());
    return geometries;
}

QWidget *LinuxPlatform::createCoveringWindow(const QRect &)
{
    return nullptr;
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

void LinuxPlatform::hidePointer() { }

void LinuxPlatform::showPointer() { }

Platform::MonitorToken LinuxPlatform::installInputMonitor(InputHandler)
{
    return 0;
}

void LinuxPlatform::removeInputMonitor(MonitorToken) { }

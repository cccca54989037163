#include "FakePlatform.h"

#include "platform/SettingsStore.h"

#include <QWidget>

FakePlatform::FakePlatform(QObject *parent)
    : Platform(parent)
{
}

FakePlatform::~FakePlatform() = default;

SettingsStore &FakePlatform::settings()
{
    if (!m_settings)
        m_settings = std::make_unique<SettingsStore>();
    return *m_settings;
}

void FakePlatform::restart()
{
    m_settings.reset();
}

double FakePlatform::idleSeconds(IdleQuery query)
{
    if (query == IdleQuery::Fresh) {
        ++freshIdleQueries;
        return freshIdle.value_or(idle);
    }
    ++idleQueries;
    return idle;
}

QMap<QString, qint64> FakePlatform::displaySleepAssertions()
{
    ++assertionQueries;
    return assertions;
}

bool FakePlatform::setLaunchAtLogin(bool enabled)
{
    ++loginItemCalls;
    if (loginItemWritable)
        loginItemEnabled = enabled;
    return loginItemEnabled;
}

QWidget *FakePlatform::createCoveringWindow(int, const QRect &geometry)
{
    auto *window = new QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window->setWindowTitle(QStringLiteral("Daystride Countdown"));
    window->setGeometry(geometry);
    return window;
}

void FakePlatform::activate(QWidget *window)
{
    ++activateCount;
    if (window)
        window->show();
}

void FakePlatform::showPointer()
{
    if (pointerHideDepth > 0)
        --pointerHideDepth;
}

Platform::MonitorToken FakePlatform::installInputMonitor(InputHandler handler)
{
    if (refuseInputMonitor)
        return 0;
    const MonitorToken token = m_nextToken++;
    monitors.insert(token, std::move(handler));
    return token;
}

void FakePlatform::removeInputMonitor(MonitorToken token)
{
    monitors.remove(token);
}

bool FakePlatform::deliverInput(QEvent *event)
{
    bool swallowed = false;
    // Copy: a handler may remove its own monitor.
    const auto handlers = monitors.values();
    for (const InputHandler &handler : handlers)
        swallowed = handler(event) || swallowed;
    return swallowed;
}

#include "Timers.h"

#include <QTimer>

namespace {
QTimer *start(QObject *owner, std::chrono::milliseconds interval, Qt::TimerType type,
    std::function<void()> action)
{
    if (!owner || !action)
        return nullptr;
    auto *timer = new QTimer(owner);
    timer->setTimerType(type);
    timer->setInterval(interval);
    QObject::connect(timer, &QTimer::timeout, owner, std::move(action));
    timer->start();
    return timer;
}
} // namespace

QTimer *Timers::repeating(
    QObject *owner, std::chrono::milliseconds interval, std::function<void()> action)
{
    return start(owner, interval, Qt::CoarseTimer, std::move(action));
}

QTimer *Timers::secondTicker(QObject *owner, std::function<void()> action)
{
    return start(owner, std::chrono::seconds(1), Qt::PreciseTimer, std::move(action));
}

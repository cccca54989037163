#pragma once

#include <chrono>
#include <functional>

class QObject;
class QTimer;

// Repeating timers on the main thread's event loop. Each timer is a child of its
// owner and calls its action in the owner's context, so once the owner is destroyed
// the timer is gone and the action never runs.
class Timers
{
public:
    // Fires every `interval`, the first time one interval after this call.
    static QTimer *repeating(
        QObject *owner, std::chrono::milliseconds interval, std::function<void()> action);
    // A precise one-second tick, for clocks that show seconds.
    static QTimer *secondTicker(QObject *owner, std::function<void()> action);
};

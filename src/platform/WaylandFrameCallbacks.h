#pragma once

// Qt's Wayland windows wait at most 100 ms for the compositor's frame callback, on a
// timer started after each repaint, and call a window that misses it unexposed. For a
// window repainted once a second that timer is a wake-up of its own each second; a
// window the compositor does not show simply waits for its callback, at no cost.
class WaylandFrameCallbacks
{
public:
    // Call before the application object; leaves a value the user set alone.
    static void waitWithoutTimer();
};

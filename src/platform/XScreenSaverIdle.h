#pragma once

#include <optional>

struct _XDisplay;

// The X server's own idle counter (MIT-SCREEN-SAVER): milliseconds since the last
// input of any client of that server. Uses Qt's connection when the application runs
// on X11, else opens one of its own, and only when DISPLAY names a server.
class XScreenSaverIdle
{
public:
    XScreenSaverIdle();
    ~XScreenSaverIdle();

    XScreenSaverIdle(const XScreenSaverIdle &) = delete;
    XScreenSaverIdle &operator=(const XScreenSaverIdle &) = delete;

    // Seconds since the last input, or nothing when no X server answers.
    std::optional<double> idleSeconds();

private:
    _XDisplay *display();

    _XDisplay *m_ownDisplay = nullptr;
    bool m_triedOwnDisplay = false;
};

#include "XScreenSaverIdle.h"

#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

XScreenSaverIdle::XScreenSaverIdle() = default;

XScreenSaverIdle::~XScreenSaverIdle()
{
    if (m_ownDisplay)
        XCloseDisplay(m_ownDisplay);
}

_XDisplay *XScreenSaverIdle::display()
{
    if (auto *x11
        = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (Display *shared = x11->display())
            return shared;
    }
    if (!m_triedOwnDisplay) {
        m_triedOwnDisplay = true;
        // Under XWayland this server sees only X clients' input, hence the last resort.
        if (!qEnvironmentVariableIsEmpty("DISPLAY"))
            m_ownDisplay = XOpenDisplay(nullptr);
    }
    return m_ownDisplay;
}

std::optional<double> XScreenSaverIdle::idleSeconds()
{
    Display *dpy = display();
    if (!dpy)
        return std::nullopt;
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(dpy, &eventBase, &errorBase))
        return std::nullopt;
    XScreenSaverInfo *info = XScreenSaverAllocInfo();
    if (!info)
        return std::nullopt;
    std::optional<double> seconds;
    if (XScreenSaverQueryInfo(dpy, DefaultRootWindow(dpy), info))
        seconds = double(info->idle) / 1000.0;
    XFree(info);
    return seconds;
}

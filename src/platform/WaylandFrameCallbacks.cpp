#include "WaylandFrameCallbacks.h"

#include <QByteArray>
#include <QtGlobal>

void WaylandFrameCallbacks::waitWithoutTimer()
{
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT"))
        qputenv("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT", QByteArrayLiteral("0"));
}

#include "ui/IdleNotice.h"

#include "platform/Platform.h"
#include "ui/Look.h"

IdleNotice::IdleNotice(Platform &platform, QWidget *parent)
    : QLabel(
        tr("This desktop does not report idle time; the countdown shows only on request."), parent)
{
    setFont(Look::font(Look::TextStyle::caption));
    setForegroundRole(QPalette::PlaceholderText);
    setWordWrap(true);
    setVisible(!platform.idleTimeAvailable());
    connect(&platform, &Platform::idleTimeAvailableChanged, this,
        [this](bool available) { setVisible(!available); });
}

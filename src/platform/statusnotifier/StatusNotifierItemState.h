#pragma once

#include "platform/statusnotifier/StatusNotifierTypes.h"

#include <QMutex>
#include <QString>

class StatusNotifierItem;

// What the item shows on the bus, written on the main thread and read on Qt D-Bus's
// thread, which answers the hosts' property reads. Every field under `mutex`.
struct StatusNotifierItemState
{
    QMutex mutex;
    QString label;
    QString description;
    SniPixmapList icon;
    // The token the host gave with its latest click.
    QString activationToken;
    // Cleared when the item goes, so a late call from a host reaches nothing.
    StatusNotifierItem *item = nullptr;
};

#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QImage;

// One icon image as the StatusNotifierItem protocol carries it: ARGB32 pixels in
// network byte order.
struct SniPixmap
{
    int width = 0;
    int height = 0;
    QByteArray argb;

    static SniPixmap fromImage(const QImage &image);
};
using SniPixmapList = QList<SniPixmap>;

struct SniToolTip
{
    QString iconName;
    SniPixmapList pixmaps;
    QString title;
    QString description;
};

// One entry of a com.canonical.dbusmenu layout, (ia{sv}av): the children travel as
// variants holding the same structure.
struct DBusMenuLayoutItem
{
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};

// (ia{sv}): the properties of one menu entry.
struct DBusMenuItemProperties
{
    int id = 0;
    QVariantMap properties;
};
using DBusMenuItemPropertiesList = QList<DBusMenuItemProperties>;

// (ias): the names of properties one entry no longer has.
struct DBusMenuItemRemovedProperties
{
    int id = 0;
    QStringList names;
};
using DBusMenuItemRemovedPropertiesList = QList<DBusMenuItemRemovedProperties>;

// (isvu): one event of an EventGroup call.
struct DBusMenuEvent
{
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};
using DBusMenuEventList = QList<DBusMenuEvent>;

QDBusArgument &operator<<(QDBusArgument &argument, const SniPixmap &pixmap);
const QDBusArgument &operator>>(const QDBusArgument &argument, SniPixmap &pixmap);
QDBusArgument &operator<<(QDBusArgument &argument, const SniToolTip &toolTip);
const QDBusArgument &operator>>(const QDBusArgument &argument, SniToolTip &toolTip);

QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuLayoutItem &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuLayoutItem &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuItemProperties &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuItemProperties &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuItemRemovedProperties &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuItemRemovedProperties &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuEvent &event);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuEvent &event);

// Makes the types known to Qt D-Bus; safe to call more than once.
void registerStatusNotifierTypes();

Q_DECLARE_METATYPE(SniPixmap)
Q_DECLARE_METATYPE(SniToolTip)
Q_DECLARE_METATYPE(DBusMenuLayoutItem)
Q_DECLARE_METATYPE(DBusMenuItemProperties)
Q_DECLARE_METATYPE(DBusMenuItemRemovedProperties)
Q_DECLARE_METATYPE(DBusMenuEvent)

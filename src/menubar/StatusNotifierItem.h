#pragma once

#include "menubar/StatusNotifierTypes.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QPoint>

// The panel item on the session bus: org.kde.StatusNotifierItem-<pid>-1 at
// /StatusNotifierItem, registered with the StatusNotifierWatcher and registered
// again whenever a watcher (re)appears.
class StatusNotifierItem : public QObject
{
    Q_OBJECT

public:
    static constexpr auto watcherService = "org.kde.StatusNotifierWatcher";
    static constexpr auto objectPath = "/StatusNotifierItem";

    explicit StatusNotifierItem(const QDBusConnection &bus, QObject *parent = nullptr);
    ~StatusNotifierItem() override;

    QString serviceName() const { return m_serviceName; }
    // True while a watcher has accepted the item.
    bool isRegistered() const { return m_registered; }

    QString label() const { return m_label; }
    // The panel text, shown beside the icon and as the tooltip.
    void setLabel(const QString &label);
    SniPixmapList icon() const { return m_icon; }
    void setIcon(const SniPixmapList &icon);

signals:
    // The user clicked the item; the point is in screen coordinates (may be 0, 0).
    void activated(const QPoint &at);
    void registeredChanged(bool registered);

private:
    friend class StatusNotifierItemAdaptor;
    void registerWithWatcher();
    void setRegistered(bool registered);

    QDBusConnection m_bus;
    QString m_serviceName;
    QDBusServiceWatcher m_watcher;
    class StatusNotifierItemAdaptor *m_adaptor = nullptr;
    bool m_registered = false;
    QString m_label;
    SniPixmapList m_icon;
};

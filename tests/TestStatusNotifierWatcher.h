#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>

// A StatusNotifierWatcher for tests: takes the watcher's name on a bus and
// records every item that registers. It can also misbehave as real hosts do:
// accept a registration without ever listing the item, or drop a listed item.
class TestStatusNotifierWatcher : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    explicit TestStatusNotifierWatcher(const QDBusConnection &bus);
    ~TestStatusNotifierWatcher() override;

    bool start();
    void stop();

    QStringList registeredItems() const { return m_items; }
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    int registrations() const { return m_registrations; }
    // false: every registration is answered with success but nothing is listed.
    void setListsItems(bool lists) { m_listsItems = lists; }
    // Forgets `service`; `announce` sends StatusNotifierItemUnregistered for it.
    void dropItem(const QString &service, bool announce);
    // As a panel host that (re)started announces itself.
    void announceHost() { emit StatusNotifierHostRegistered(); }

public slots:
    void RegisterStatusNotifierItem(const QString &service);
    void RegisterStatusNotifierHost(const QString &) { }

signals:
    void StatusNotifierItemRegistered(const QString &service);
    void StatusNotifierItemUnregistered(const QString &service);
    void StatusNotifierHostRegistered();

private:
    QDBusConnection m_bus;
    QStringList m_items;
    int m_registrations = 0;
    bool m_running = false;
    bool m_listsItems = true;
};

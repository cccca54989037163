#pragma once

#include "platform/statusnotifier/StatusNotifierTypes.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QTimer>

#include <memory>

class QAction;
class DBusMenuExporter;
struct StatusNotifierItemState;

// The panel item on the session bus: org.kde.StatusNotifierItem-<pid>-1 at
// /StatusNotifierItem with its menu at /MenuBar. A watcher's "yes" to the
// registration is not trusted: the item counts as shown once the watcher lists it,
// and is registered again whenever it is missing from that list (a host that lost
// it, a host or watcher that restarted).
class StatusNotifierItem : public QObject
{
    Q_OBJECT

public:
    static constexpr auto watcherService = "org.kde.StatusNotifierWatcher";
    static constexpr auto objectPath = "/StatusNotifierItem";
    static constexpr auto menuPath = "/MenuBar";
    // How long a watcher may take to list the item after accepting it, doubled on
    // each try; after `listingTries` tries without it the item counts as unlisted.
    static constexpr int firstListingWaitMilliseconds = 500;
    static constexpr int listingTries = 4;
    // While unlisted, the registration is still tried this often.
    static constexpr int unlistedRetryMilliseconds = 30000;

    // pending: registering or waiting to be listed; listed: the watcher lists it;
    // unlisted: no watcher, or none has listed it after every try.
    enum class State { pending, listed, unlisted };
    Q_ENUM(State)

    StatusNotifierItem(
        const QDBusConnection &bus, const QList<QAction *> &menu, QObject *parent = nullptr);
    ~StatusNotifierItem() override;

    QString serviceName() const { return m_serviceName; }
    State state() const { return m_state; }
    // True while the watcher lists the item.
    bool isRegistered() const { return m_state == State::listed; }
    // True once any watcher has listed the item in this process.
    bool wasEverListed() const { return m_everListed; }

    QString label() const;
    // The panel text, shown beside the icon and as the tooltip.
    // `description`: the tooltip's text under the label, which screen readers read.
    void setLabel(const QString &label, const QString &description = QString());
    QString description() const;
    SniPixmapList icon() const;
    void setIcon(const SniPixmapList &icon);

    // The token the host gave with the latest click, for the window that the
    // click opens; empty once taken.
    QString takeActivationToken();

signals:
    // The user clicked the item; the point is in screen coordinates (may be 0, 0).
    void activated(const QPoint &at);
    void stateChanged(StatusNotifierItem::State state);

private slots:
    void watcherDroppedItem(const QString &service);
    void hostRegistered();

private:
    void registerWithWatcher();
    void checkListing();
    bool namesThisItem(const QString &entry) const;
    void setState(State state);
    // Sends the item's signals from Qt D-Bus's thread, in one go.
    void sendSignals(const QList<QDBusMessage> &signalMessages);

    QDBusConnection m_bus;
    QString m_serviceName;
    QDBusServiceWatcher m_watcher;
    // Shared with the adaptor on Qt D-Bus's thread, which outlives this object by
    // the calls still queued there.
    std::shared_ptr<StatusNotifierItemState> m_shared;
    QObject *m_busObject = nullptr;
    DBusMenuExporter *m_menu = nullptr;
    State m_state = State::pending;
    bool m_everListed = false;
    int m_triesLeft = listingTries;
    int m_listingWait = firstListingWaitMilliseconds;
    QTimer m_listingCheck;
    QTimer m_retry;
};

#include "platform/statusnotifier/StatusNotifierItem.h"

#include "platform/statusnotifier/DBusMenuExporter.h"
#include "platform/statusnotifier/StatusNotifierItemAdaptor.h"
#include "platform/statusnotifier/StatusNotifierItemState.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QMutexLocker>

namespace {
constexpr int callTimeoutMilliseconds = 1000;

QDBusMessage itemSignal(const QString &name)
{
    return QDBusMessage::createSignal(QString::fromLatin1(StatusNotifierItem::objectPath),
        QStringLiteral("org.kde.StatusNotifierItem"), name);
}
} // namespace

StatusNotifierItem::StatusNotifierItem(
    const QDBusConnection &bus, const QList<QAction *> &menu, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_serviceName(
          QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid()))
    , m_watcher(QString::fromLatin1(watcherService), bus,
          QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration)
{
    registerStatusNotifierTypes();
    m_menu = new DBusMenuExporter(m_bus, QString::fromLatin1(menuPath), menu, this);
    m_shared = std::make_shared<StatusNotifierItemState>();
    m_shared->item = this;
    // No parent: it moves to Qt D-Bus's thread, where the bus's interface object lives.
    m_busObject = new QObject;
    new StatusNotifierItemAdaptor(m_busObject, m_shared);
    if (const QDBusConnectionInterface *busInterface = m_bus.interface())
        m_busObject->moveToThread(busInterface->thread());
    m_bus.registerObject(
        QString::fromLatin1(objectPath), m_busObject, QDBusConnection::ExportAdaptors);
    m_bus.registerService(m_serviceName);

    m_listingCheck.setSingleShot(true);
    connect(&m_listingCheck, &QTimer::timeout, this, &StatusNotifierItem::checkListing);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &StatusNotifierItem::registerWithWatcher);

    connect(&m_watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        m_triesLeft = listingTries;
        m_listingWait = firstListingWaitMilliseconds;
        registerWithWatcher();
    });
    connect(&m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        m_listingCheck.stop();
        m_retry.stop();
        // Gone for now: once shown, wait for the watcher to come back rather than
        // put up a stand-in.
        setState(m_everListed ? State::pending : State::unlisted);
    });
    const QString watcher = QString::fromLatin1(watcherService);
    const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
    m_bus.connect(watcher, watcherPath, watcher, QStringLiteral("StatusNotifierItemUnregistered"),
        this, SLOT(watcherDroppedItem(QString)));
    m_bus.connect(watcher, watcherPath, watcher, QStringLiteral("StatusNotifierHostRegistered"),
        this, SLOT(hostRegistered()));
    registerWithWatcher();
}

StatusNotifierItem::~StatusNotifierItem()
{
    m_bus.unregisterObject(QString::fromLatin1(objectPath));
    m_bus.unregisterService(m_serviceName);
    {
        const QMutexLocker lock(&m_shared->mutex);
        m_shared->item = nullptr;
    }
    // Qt D-Bus waits on its own thread for each registered object's end: deleted on
    // that thread, the object would wait for itself. It is off the bus already.
    QObject::disconnect(m_busObject, &QObject::destroyed, nullptr, nullptr);
    // On its own thread, after what is queued for it there.
    m_busObject->deleteLater();
}

QString StatusNotifierItem::label() const
{
    const QMutexLocker lock(&m_shared->mutex);
    return m_shared->label;
}

QString StatusNotifierItem::description() const
{
    const QMutexLocker lock(&m_shared->mutex);
    return m_shared->description;
}

SniPixmapList StatusNotifierItem::icon() const
{
    const QMutexLocker lock(&m_shared->mutex);
    return m_shared->icon;
}

void StatusNotifierItem::sendSignals(const QList<QDBusMessage> &signalMessages)
{
    // Qt D-Bus hands each message sent from this thread to its own thread; sent from
    // there (where the bus's interface object lives), the two signals of a new label
    // cost that thread one wake-up a minute instead of up to two.
    QObject *busThread = m_bus.interface() ? static_cast<QObject *>(m_bus.interface()) : this;
    QMetaObject::invokeMethod(
        busThread,
        [bus = m_bus, signalMessages] {
            for (const QDBusMessage &message : signalMessages)
                bus.send(message);
        },
        Qt::QueuedConnection);
}

void StatusNotifierItem::setLabel(const QString &label, const QString &description)
{
    {
        const QMutexLocker lock(&m_shared->mutex);
        if (label == m_shared->label && description == m_shared->description)
            return;
        m_shared->label = label;
        m_shared->description = description;
    }
    QDBusMessage newLabel = itemSignal(QStringLiteral("XAyatanaNewLabel"));
    newLabel << label << StatusNotifierItemAdaptor::xAyatanaLabelGuide();
    sendSignals({newLabel, itemSignal(QStringLiteral("NewToolTip"))});
}

void StatusNotifierItem::setIcon(const SniPixmapList &icon)
{
    {
        const QMutexLocker lock(&m_shared->mutex);
        m_shared->icon = icon;
    }
    sendSignals({itemSignal(QStringLiteral("NewIcon"))});
}

QString StatusNotifierItem::takeActivationToken()
{
    const QMutexLocker lock(&m_shared->mutex);
    return std::exchange(m_shared->activationToken, QString());
}

void StatusNotifierItem::registerWithWatcher()
{
    m_retry.stop();
    m_listingCheck.stop();
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(watcherService),
        QStringLiteral("/StatusNotifierWatcher"), QString::fromLatin1(watcherService),
        QStringLiteral("RegisterStatusNotifierItem"));
    call << m_serviceName;
    // Asynchronous with a short timeout: a hung panel must not freeze the program.
    auto *pending
        = new QDBusPendingCallWatcher(m_bus.asyncCall(call, callTimeoutMilliseconds), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        if (w->isError() && w->error().type() == QDBusError::ServiceUnknown) {
            // No watcher at all: it is seen arriving through the service watcher.
            if (!m_everListed)
                setState(State::unlisted);
            return;
        }
        // Accepted or refused, what counts is the watcher's list.
        m_listingCheck.start(m_listingWait);
    });
}

void StatusNotifierItem::checkListing()
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(watcherService),
        QStringLiteral("/StatusNotifierWatcher"), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    call << QString::fromLatin1(watcherService) << QStringLiteral("RegisteredStatusNotifierItems");
    auto *pending
        = new QDBusPendingCallWatcher(m_bus.asyncCall(call, callTimeoutMilliseconds), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *w;
        const QStringList items
            = reply.isError() ? QStringList() : reply.value().variant().toStringList();
        if (std::any_of(items.begin(), items.end(),
                [this](const QString &entry) { return namesThisItem(entry); })) {
            m_triesLeft = listingTries;
            m_listingWait = firstListingWaitMilliseconds;
            m_everListed = true;
            setState(State::listed);
            return;
        }
        if (m_state == State::listed) {
            // Dropped without a word: start over.
            setState(State::pending);
            m_triesLeft = listingTries;
            m_listingWait = firstListingWaitMilliseconds;
            registerWithWatcher();
            return;
        }
        if (--m_triesLeft > 0) {
            m_listingWait *= 2;
            registerWithWatcher();
            return;
        }
        if (!m_everListed)
            setState(State::unlisted);
        m_triesLeft = 1;
        m_retry.start(unlistedRetryMilliseconds);
    });
}

bool StatusNotifierItem::namesThisItem(const QString &entry) const
{
    // Watchers list an item as its bus name, well-known or unique, or as
    // "<bus name>/<object path>".
    const QString name = entry.section(QLatin1Char('/'), 0, 0);
    return name == m_serviceName || name == m_bus.baseService();
}

void StatusNotifierItem::watcherDroppedItem(const QString &service)
{
    if (!namesThisItem(service))
        return;
    if (m_state == State::listed)
        setState(State::pending);
    m_triesLeft = listingTries;
    m_listingWait = firstListingWaitMilliseconds;
    registerWithWatcher();
}

void StatusNotifierItem::hostRegistered()
{
    // A host that (re)started may not know the item yet: look at the list again.
    if (m_state == State::listed) {
        m_listingCheck.start(firstListingWaitMilliseconds);
    } else if (m_state == State::unlisted) {
        m_triesLeft = listingTries;
        m_listingWait = firstListingWaitMilliseconds;
        registerWithWatcher();
    }
}

void StatusNotifierItem::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}

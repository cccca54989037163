#include "menubar/StatusNotifierItem.h"

#include "menubar/StatusNotifierItemAdaptor.h"

#include <QCoreApplication>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

StatusNotifierItem::StatusNotifierItem(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_serviceName(
          QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid()))
    , m_watcher(QString::fromLatin1(watcherService), bus,
          QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration)
{
    registerStatusNotifierTypes();
    m_adaptor = new StatusNotifierItemAdaptor(this);
    m_bus.registerObject(QString::fromLatin1(objectPath), this, QDBusConnection::ExportAdaptors);
    m_bus.registerService(m_serviceName);

    connect(&m_watcher, &QDBusServiceWatcher::serviceRegistered, this,
        &StatusNotifierItem::registerWithWatcher);
    connect(&m_watcher, &QDBusServiceWatcher::serviceUnregistered, this,
        [this] { setRegistered(false); });
    registerWithWatcher();
}

StatusNotifierItem::~StatusNotifierItem()
{
    m_bus.unregisterObject(QString::fromLatin1(objectPath));
    m_bus.unregisterService(m_serviceName);
}

void StatusNotifierItem::setLabel(const QString &label)
{
    if (label == m_label)
        return;
    m_label = label;
    emit m_adaptor->XAyatanaNewLabel(m_label, m_adaptor->xAyatanaLabelGuide());
    emit m_adaptor->NewToolTip();
}

void StatusNotifierItem::setIcon(const SniPixmapList &icon)
{
    m_icon = icon;
    emit m_adaptor->NewIcon();
}

void StatusNotifierItem::registerWithWatcher()
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(watcherService),
        QStringLiteral("/StatusNotifierWatcher"), QString::fromLatin1(watcherService),
        QStringLiteral("RegisterStatusNotifierItem"));
    call << m_serviceName;
    // Asynchronous with a short timeout: a hung panel must not freeze the program.
    auto *pending = new QDBusPendingCallWatcher(m_bus.asyncCall(call, 1000), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        setRegistered(!w->isError());
        w->deleteLater();
    });
}

void StatusNotifierItem::setRegistered(bool registered)
{
    if (registered == m_registered)
        return;
    m_registered = registered;
    emit registeredChanged(registered);
}

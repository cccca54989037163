#include "DBusQuery.h"

#include <QDBusError>

DBusQuery::DBusQuery(const QDBusConnection &bus, const QString &service, const QString &path,
    const QString &interface, const QString &method, const QVariantList &arguments)
    : m_bus(bus)
    , m_call(QDBusMessage::createMethodCall(service, path, interface, method))
{
    m_call.setArguments(arguments);
    // Starting a desktop service just to ask it a question would be a side effect.
    m_call.setAutoStartService(false);
}

DBusQuery::Outcome DBusQuery::run(const QString &signature)
{
    m_arguments.clear();
    if (!m_bus.isConnected())
        return Outcome::Absent;
    const QDBusMessage reply = m_bus.call(m_call, QDBus::Block, timeoutMilliseconds);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        if (reply.signature() != signature)
            return Outcome::Failed;
        m_arguments = reply.arguments();
        return Outcome::Answered;
    }
    // What the bus answers for a name nobody owns when it may not start a service.
    if (reply.errorName() == u"org.freedesktop.DBus.Error.NameHasNoOwner")
        return Outcome::Absent;
    switch (QDBusError(reply).type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
    case QDBusError::Disconnected:
    case QDBusError::NoServer:
    // Someone else holds the name but offers nothing of this kind.
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
        return Outcome::Absent;
    default:
        return Outcome::Failed;
    }
}

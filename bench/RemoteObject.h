#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QString>
#include <QVariantList>

// An object of another process, called without introspection: QDBusInterface reads
// the whole interface first, which costs a round trip and warns about types it
// cannot map.
struct RemoteObject
{
    QDBusConnection bus;
    QString service;
    QString path;
    QString interface;

    QDBusMessage call(const QString &method, const QVariantList &arguments = {}) const
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        return bus.call(message, QDBus::Block, 5000);
    }

    // The id of the dbusmenu entry with this label, or -1.
    int menuItemId(const QString &label) const
    {
        for (int id = 1; id < 16; ++id) {
            const QDBusMessage reply
                = call(QStringLiteral("GetProperty"), {id, QStringLiteral("label")});
            const QVariant value = reply.arguments().value(0);
            if (value.value<QDBusVariant>().variant().toString().remove(u'_') == label)
                return id;
        }
        return -1;
    }
};

#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>

// One method call to a desktop service, answered or given up within a short
// timeout: the callers run on the main thread, where a peer that never answers
// would otherwise freeze the panel for the bus's default 25 seconds.
class DBusQuery
{
public:
    static constexpr int timeoutMilliseconds = 250;

    enum class Outcome {
        Answered, // a reply with the expected signature
        Absent, // nobody owns the name, or the owner did not answer in time
        Failed, // an error reply, or a reply of the wrong shape
    };

    DBusQuery(const QDBusConnection &bus, const QString &service, const QString &path,
        const QString &interface, const QString &method, const QVariantList &arguments = {});

    // Sends the call and waits for its reply; `signature` is what the reply must carry.
    Outcome run(const QString &signature);
    // The reply's arguments after Outcome::Answered.
    const QVariantList &arguments() const { return m_arguments; }

private:
    QDBusConnection m_bus;
    QDBusMessage m_call;
    QVariantList m_arguments;
};

#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

// Takes every call on every path and either never answers it or answers with
// an error.
class MisbehavingService : public QDBusVirtualObject
{
public:
    enum class Mode { Silent, Deny };

    MisbehavingService(QDBusConnection bus, Mode mode)
        : m_bus(std::move(bus))
        , m_mode(mode)
    {
    }

    QString introspect(const QString &) const override { return {}; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &) override
    {
        if (m_mode == Mode::Deny) {
            m_bus.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"), QStringLiteral("no")));
        } else {
            // Keeps the call so the bus never answers it for us.
            m_pending.append(message);
        }
        return true;
    }

private:
    QDBusConnection m_bus;
    Mode m_mode;
    QList<QDBusMessage> m_pending;
};

#include "menubar/SingleInstance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
    , m_bus(QDBusConnection::sessionBus())
{
}

SingleInstance::~SingleInstance()
{
    if (m_owner) {
        m_bus.unregisterObject(QString::fromLatin1(objectPath));
        m_bus.unregisterService(QString::fromLatin1(serviceName));
    }
}

SingleInstance::Claim SingleInstance::claim()
{
    if (!m_bus.isConnected() || !m_bus.interface())
        return Claim::standalone;
    const QString name = QString::fromLatin1(serviceName);
    m_bus.registerObject(
        QString::fromLatin1(objectPath), this, QDBusConnection::ExportScriptableSlots);
    // Without queueing or replacement: two starts at the same moment cannot both win.
    const auto reply = m_bus.interface()->registerService(name,
        QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        m_owner = true;
        return Claim::owner;
    }
    m_bus.unregisterObject(QString::fromLatin1(objectPath));

    // A launcher's activation token belongs to the window that this start opens.
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    if (!token.isEmpty()) {
        QDBusMessage provide = QDBusMessage::createMethodCall(
            name, QString::fromLatin1(objectPath), name, QStringLiteral("ProvideActivationToken"));
        provide << token;
        m_bus.call(provide, QDBus::Block, 2000);
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        name, QString::fromLatin1(objectPath), name, QStringLiteral("ShowPopover"));
    const QDBusMessage answer = m_bus.call(call, QDBus::Block, 2000);
    if (answer.type() == QDBusMessage::ReplyMessage)
        return Claim::otherInstanceAnswered;
    // The name is held by something that does not answer: run rather than vanish.
    return Claim::standalone;
}

void SingleInstance::ProvideActivationToken(const QString &token)
{
    m_activationToken = token;
}

void SingleInstance::ShowPopover()
{
    emit popoverRequested(std::exchange(m_activationToken, QString()));
}

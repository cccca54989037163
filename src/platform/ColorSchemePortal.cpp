#include "platform/ColorSchemePortal.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

// Long enough for a running portal, short enough not to hold up the panel item.
constexpr int firstAnswerMilliseconds = 200;
// A portal that the bus starts on demand may take a while.
constexpr int lateAnswerMilliseconds = 10000;

} // namespace

ColorSchemePortal::ColorSchemePortal(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
}

void ColorSchemePortal::start()
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"),
        this, SLOT(settingChanged(QString, QString, QDBusVariant)));

    QDBusMessage read = QDBusMessage::createMethodCall(
        portalService, portalPath, settingsInterface, QStringLiteral("Read"));
    read << appearanceGroup << colorSchemeKey;
    auto *first = new QDBusPendingCallWatcher(m_bus.asyncCall(read, firstAnswerMilliseconds), this);
    first->waitForFinished();
    if (first->isError() && first->error().type() == QDBusError::NoReply) {
        // Still starting: take its answer whenever it comes.
        delete first;
        auto *late
            = new QDBusPendingCallWatcher(m_bus.asyncCall(read, lateAnswerMilliseconds), this);
        connect(late, &QDBusPendingCallWatcher::finished, this, &ColorSchemePortal::readAnswer);
        return;
    }
    readAnswer(first);
}

void ColorSchemePortal::readAnswer(QDBusPendingCallWatcher *call)
{
    const QDBusPendingReply<QDBusVariant> reply = *call;
    call->deleteLater();
    // No portal, or one without the setting: the platform's own colours stay.
    if (reply.isError())
        return;
    setScheme(schemeFromValue(reply.value().variant()));
}

void ColorSchemePortal::settingChanged(
    const QString &group, const QString &key, const QDBusVariant &value)
{
    if (group == appearanceGroup && key == colorSchemeKey)
        setScheme(schemeFromValue(value.variant()));
}

ColorSchemePortal::Scheme ColorSchemePortal::schemeFromValue(const QVariant &value)
{
    // Read wraps the value in one variant more than SettingChanged does.
    QVariant inner = value;
    while (inner.metaType() == QMetaType::fromType<QDBusVariant>())
        inner = inner.value<QDBusVariant>().variant();
    bool ok = false;
    const uint raw = inner.toUInt(&ok);
    if (!ok)
        return Scheme::none;
    return raw == 1 ? Scheme::dark : raw == 2 ? Scheme::light : Scheme::none;
}

void ColorSchemePortal::setScheme(Scheme scheme)
{
    if (scheme == m_scheme)
        return;
    m_scheme = scheme;
    emit schemeChanged(scheme);
}

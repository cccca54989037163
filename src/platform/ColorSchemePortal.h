#pragma once

#include <QDBusConnection>
#include <QObject>

class QDBusPendingCallWatcher;
class QDBusVariant;

// The desktop's light or dark preference, as the XDG Settings portal publishes it
// ("color-scheme" of "org.freedesktop.appearance"), followed live through the
// portal's SettingChanged signal. Without a portal the preference stays `none`.
class ColorSchemePortal : public QObject
{
    Q_OBJECT

public:
    enum class Scheme { none, dark, light };

    explicit ColorSchemePortal(const QDBusConnection &bus, QObject *parent = nullptr);

    // Asks once. A running portal answers within a few milliseconds, so the first
    // windows open in the right colours; a portal that is still being started
    // answers later, and its answer is applied then.
    void start();
    Scheme scheme() const { return m_scheme; }
    // The portal's value: 1 prefers dark, 2 prefers light, anything else neither.
    static Scheme schemeFromValue(const QVariant &value);

signals:
    void schemeChanged(ColorSchemePortal::Scheme scheme);

private slots:
    void settingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    void readAnswer(QDBusPendingCallWatcher *call);
    void setScheme(Scheme scheme);

    QDBusConnection m_bus;
    Scheme m_scheme = Scheme::none;
};

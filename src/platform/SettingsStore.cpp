#include "SettingsStore.h"

#include <QFile>

SettingsStore::SettingsStore()
{
    open();
    m_damaged = m_settings->status() == QSettings::FormatError;
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::open()
{
    m_settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
        QStringLiteral("Daystride"), QStringLiteral("Daystride"));
}

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}

QVariant SettingsStore::value(const QString &key) const
{
    return m_damaged ? QVariant() : m_settings->value(key);
}

bool SettingsStore::contains(const QString &key) const
{
    return value(key).isValid();
}

std::optional<QDateTime> SettingsStore::date(const QString &key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QDateTime || !v.toDateTime().isValid())
        return std::nullopt;
    // Files from before dates were kept in UTC hold local wall-clock time, which
    // still means that time here.
    return v.toDateTime().toLocalTime();
}

std::optional<QString> SettingsStore::string(const QString &key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

std::optional<QByteArray> SettingsStore::data(const QString &key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return v.toByteArray();
}

bool SettingsStore::boolValue(const QString &key) const
{
    const QVariant v = value(key);
    // The INI format gives bools back as text; anything that is not a bool reads false.
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        if (s == u"true")
            return true;
        bool isNumber = false;
        const qint64 n = s.toLongLong(&isNumber);
        return isNumber && n != 0;
    }
    return v.typeId() == QMetaType::Bool && v.toBool();
}

qint64 SettingsStore::integer(const QString &key) const
{
    const QVariant v = value(key);
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    return ok ? n : 0;
}

void SettingsStore::setAsideDamagedFile()
{
    if (!m_damaged)
        return;
    const QString path = m_settings->fileName();
    m_settings.reset();
    const QString copy = path + QStringLiteral(".damaged");
    QFile::remove(copy);
    // Moving it aside both keeps what the user had and lets the next write start clean.
    if (!QFile::rename(path, copy))
        QFile::remove(path);
    open();
    m_damaged = false;
}

void SettingsStore::write(const QString &key, const QVariant &value)
{
    setAsideDamagedFile();
    m_settings->setValue(key, value);
}

void SettingsStore::setDate(const QString &key, const QDateTime &value)
{
    // The instant, not the wall-clock time: the same moment after a change of time zone.
    write(key, value.toUTC());
}

void SettingsStore::setString(const QString &key, const QString &value)
{
    write(key, value);
}

void SettingsStore::setData(const QString &key, const std::optional<QByteArray> &value)
{
    if (value)
        write(key, *value);
    else
        remove(key);
}

void SettingsStore::setBool(const QString &key, bool value)
{
    write(key, value);
}

void SettingsStore::setInteger(const QString &key, qint64 value)
{
    write(key, value);
}

void SettingsStore::remove(const QString &key)
{
    setAsideDamagedFile();
    m_settings->remove(key);
}

bool SettingsStore::sync()
{
    if (m_damaged)
        return false;
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

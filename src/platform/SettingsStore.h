#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

// The per-user key-value store. Reads give the store's fall-backs: no value for
// date, text and data, false for bool, 0 for integer. Each value keeps its kind:
// a date reads back as a date (stored as a UTC instant, read in local time), a
// text as text, data as data.
//
// A file that cannot be parsed reads as empty and stays untouched until the
// first write, which first keeps a copy of it as "<file>.damaged".
class SettingsStore
{
public:
    // The store of the running user: $XDG_CONFIG_HOME/Daystride/Daystride.conf.
    SettingsStore();
    ~SettingsStore();

    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QString fileName() const;
    bool wasDamaged() const { return m_damaged; }

    bool contains(const QString &key) const;
    std::optional<QDateTime> date(const QString &key) const;
    std::optional<QString> string(const QString &key) const;
    std::optional<QByteArray> data(const QString &key) const;
    bool boolValue(const QString &key) const;
    qint64 integer(const QString &key) const;

    void setDate(const QString &key, const QDateTime &value);
    void setString(const QString &key, const QString &value);
    void setData(const QString &key, const std::optional<QByteArray> &value);
    void setBool(const QString &key, bool value);
    void setInteger(const QString &key, qint64 value);
    void remove(const QString &key);

    // Writes pending changes to disk now. False when the file could not be written.
    bool sync();

private:
    QVariant value(const QString &key) const;
    void write(const QString &key, const QVariant &value);
    void open();
    void setAsideDamagedFile();

    std::unique_ptr<QSettings> m_settings;
    bool m_damaged = false;
};

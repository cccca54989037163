#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QMap>
#include <QSet>
#include <QString>
#include <QVariant>

#include <optional>

// The per-user key-value store, $XDG_CONFIG_HOME/Daystride/Daystride.conf in
// QSettings' INI format, read once at construction and written whole by sync().
// Reads give the store's fall-backs: no value for date, text and data, false for
// bool, 0 for integer. Each value keeps its kind: a date reads back as a date
// (stored as a UTC instant, read in local time), a text as text, data as data.
//
// Nothing the user stored is lost: the file is read only when it is a regular file;
// one that cannot be read in full (damaged, unreadable, holding values of another
// kind or that did not decode, or not as this program writes it) is copied aside to
// "<file>.damaged" (".damaged.2", ... when that exists) before the first write that
// would replace it, and something that is not a regular file is never written over.
class SettingsStore
{
    Q_DECLARE_TR_FUNCTIONS(SettingsStore)

public:
    // The store of the running user.
    SettingsStore();
    // Makes one last try at changes a failed sync() left pending.
    ~SettingsStore();

    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QString fileName() const { return m_path; }
    // The file was there but could not be read at all; every key reads as missing.
    bool wasDamaged() const { return m_unread; }

    // A read that finds a value of another kind marks its key unreadable.
    bool contains(const QString &key) const;
    std::optional<QDateTime> date(const QString &key) const;
    std::optional<QString> string(const QString &key) const;
    std::optional<QByteArray> data(const QString &key) const;
    bool boolValue(const QString &key) const;
    qint64 integer(const QString &key) const;
    // The caller could not use the stored value (it did not decode, say): the file
    // is copied aside before that value is overwritten.
    void markUnreadable(const QString &key) const;

    void setDate(const QString &key, const QDateTime &value);
    void setString(const QString &key, const QString &value);
    void setData(const QString &key, const std::optional<QByteArray> &value);
    void setBool(const QString &key, bool value);
    void setInteger(const QString &key, qint64 value);
    void remove(const QString &key);

    // Writes the changes to disk now, atomically. On failure returns false, keeps
    // the changes for the next sync() and gives the reason in lastError().
    bool sync();
    QString lastError() const { return m_lastError; }
    // The copy of the original file made by this run, or empty.
    QString keptCopy() const { return m_keptCopy; }

private:
    QVariant value(const QString &key) const;
    void load();
    bool keepCopyOfOriginal();
    bool fail(const QString &reason);

    QString m_path;
    QVariantMap m_values; // as last read from or written to the file
    QMap<QString, std::optional<QVariant>> m_pending; // writes since; no value removes
    mutable QSet<QString> m_unreadable;
    bool m_unread = false; // the file's values are unknown
    bool m_inexact = false; // rewriting the file would change more than the writes
    QString m_lastError;
    QString m_keptCopy;
};

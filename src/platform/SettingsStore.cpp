#include "SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

enum class PathKind { Missing, Regular, Other, Failed };

// Follows symbolic links, so a link to a regular file counts as one.
PathKind kindOf(const QString &path, int *error)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return S_ISREG(info.st_mode) ? PathKind::Regular : PathKind::Other;
    *error = errno;
    return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Failed;
}

// Non-blocking, and checked again once open: something swapped in for the file
// (a FIFO would block for ever) is never read.
std::optional<QByteArray> readRegularFile(const QString &path, QString *error)
{
    const int fd
        = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *error = systemError(errno);
        return std::nullopt;
    }
    struct stat info = {};
    QFile file;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *error = QCoreApplication::translate("SettingsStore", "%1 is not a regular file").arg(path);
        ::close(fd);
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

// Unbuffered: Qt 6.4's QSaveFile reports success when only the final flush fails
// (a full disk), and puts an empty or cut-off file in place of the old one.
bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

// QSettings reads and writes its INI format only through files, so a private
// temporary one stands in for the real file, whose reading and writing stay ours.
std::optional<QVariantMap> parseIni(const QByteArray &bytes)
{
    // QSettings takes NUL bytes as text, but never writes one.
    if (bytes.contains('\0'))
        return std::nullopt;
    QTemporaryFile file;
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return std::nullopt;
    const QSettings ini(file.fileName(), QSettings::IniFormat);
    const QStringList keys = ini.allKeys(); // parses the file
    if (ini.status() != QSettings::NoError)
        return std::nullopt;
    QVariantMap values;
    for (const QString &key : keys) {
        // A key Qt lists but looks up as another ("a/", "a//b" stand for "a", "a/b")
        // or an @Invalid() value cannot be written back; the file then differs and its
        // copy keeps them. Kept, "a/" beside "a" would come back as one key at every
        // save, which the check after writing takes for a cut-off file.
        if (key.startsWith(u'/') || key.endsWith(u'/') || key.contains(QStringLiteral("//")))
            continue;
        const QVariant value = ini.value(key);
        if (value.isValid())
            values.insert(key, value);
    }
    return values;
}

std::optional<QByteArray> formatIni(const QVariantMap &values, QString *error)
{
    QTemporaryFile file;
    if (!file.open()) {
        *error = file.errorString();
        return std::nullopt;
    }
    {
        QSettings ini(file.fileName(), QSettings::IniFormat);
        for (auto it = values.begin(); it != values.end(); ++it)
            ini.setValue(it.key(), it.value());
        ini.sync();
        if (ini.status() != QSettings::NoError) {
            *error
                = QCoreApplication::translate("SettingsStore", "no room for a temporary file in %1")
                      .arg(QDir::tempPath());
            return std::nullopt;
        }
    }
    QFile written(file.fileName());
    if (!written.open(QIODevice::ReadOnly)) {
        *error = written.errorString();
        return std::nullopt;
    }
    // QSettings writes through a buffered QSaveFile too: a cut-off text lacks its
    // last line end or some keys.
    const QByteArray bytes = written.readAll();
    const std::optional<QVariantMap> reread = parseIni(bytes);
    if (!reread || reread->keys() != values.keys() || (!bytes.isEmpty() && !bytes.endsWith('\n'))) {
        *error = QCoreApplication::translate("SettingsStore", "no room for a temporary file in %1")
                     .arg(QDir::tempPath());
        return std::nullopt;
    }
    return bytes;
}

} // namespace

SettingsStore::SettingsStore()
    : m_path(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Daystride/Daystride.conf"))
{
    load();
}

SettingsStore::~SettingsStore()
{
    if (!m_pending.isEmpty())
        sync();
}

void SettingsStore::load()
{
    int error = 0;
    switch (kindOf(m_path, &error)) {
    case PathKind::Missing:
        return;
    case PathKind::Other: // a FIFO, device, socket or folder: never opened
    case PathKind::Failed:
        m_unread = true;
        return;
    case PathKind::Regular:
        break;
    }
    QString ignored;
    const std::optional<QByteArray> bytes = readRegularFile(m_path, &ignored);
    const std::optional<QVariantMap> values = bytes ? parseIni(*bytes) : std::nullopt;
    if (!values) {
        m_unread = true;
        return;
    }
    m_values = *values;
    // Invalid UTF-8, stray escapes, hand edits: what Qt made of them is used, but
    // the first write keeps the original.
    m_inexact = formatIni(m_values, &ignored) != bytes;
}

QVariant SettingsStore::value(const QString &key) const
{
    if (const auto it = m_pending.find(key); it != m_pending.end())
        return it->value_or(QVariant());
    return m_values.value(key);
}

void SettingsStore::markUnreadable(const QString &key) const
{
    if (!m_pending.contains(key) && m_values.contains(key))
        m_unreadable.insert(key);
}

bool SettingsStore::contains(const QString &key) const
{
    return value(key).isValid();
}

std::optional<QDateTime> SettingsStore::date(const QString &key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QDateTime || !v.toDateTime().isValid()) {
        markUnreadable(key);
        return std::nullopt;
    }
    // Files from before dates were kept in UTC hold local wall-clock time, which
    // still means that time here.
    return v.toDateTime().toLocalTime();
}

std::optional<QString> SettingsStore::string(const QString &key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QString) {
        markUnreadable(key);
        return std::nullopt;
    }
    return v.toString();
}

std::optional<QByteArray> SettingsStore::data(const QString &key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QByteArray) {
        markUnreadable(key);
        return std::nullopt;
    }
    return v.toByteArray();
}

bool SettingsStore::boolValue(const QString &key) const
{
    const QVariant v = value(key);
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    // The INI format gives bools back as text; anything that is not a bool reads false.
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        if (s == u"true" || s == u"false")
            return s == u"true";
        bool isNumber = false;
        const qint64 n = s.toLongLong(&isNumber);
        if (isNumber)
            return n != 0;
    }
    markUnreadable(key);
    return false;
}

qint64 SettingsStore::integer(const QString &key) const
{
    const QVariant v = value(key);
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (!ok)
        markUnreadable(key);
    return ok ? n : 0;
}

void SettingsStore::setDate(const QString &key, const QDateTime &value)
{
    // The instant, not the wall-clock time: the same moment after a change of time zone.
    m_pending.insert(key, QVariant(value.toUTC()));
}

void SettingsStore::setString(const QString &key, const QString &value)
{
    m_pending.insert(key, QVariant(value));
}

void SettingsStore::setData(const QString &key, const std::optional<QByteArray> &value)
{
    if (value)
        m_pending.insert(key, QVariant(*value));
    else
        remove(key);
}

void SettingsStore::setBool(const QString &key, bool value)
{
    m_pending.insert(key, QVariant(value));
}

void SettingsStore::setInteger(const QString &key, qint64 value)
{
    m_pending.insert(key, QVariant(value));
}

void SettingsStore::remove(const QString &key)
{
    m_pending.insert(key, std::nullopt);
}

bool SettingsStore::fail(const QString &reason)
{
    m_lastError = reason;
    return false;
}

bool SettingsStore::keepCopyOfOriginal()
{
    for (int n = 1; n <= 1000; ++n) {
        const QString copy = m_path + QStringLiteral(".damaged")
            + (n == 1 ? QString() : QStringLiteral(".%1").arg(n));
        if (QFileInfo::exists(copy) || QFileInfo(copy).isSymLink())
            continue; // an older copy stays as it is
        QString reason;
        const std::optional<QByteArray> original = readRegularFile(m_path, &reason);
        if (!original || !writeAtomically(copy, *original, &reason))
            return fail(
                tr("the unreadable settings file could not be copied to %1: %2").arg(copy, reason));
        m_keptCopy = copy;
        return true;
    }
    return fail(tr("too many copies of unreadable settings files beside %1").arg(m_path));
}

bool SettingsStore::sync()
{
    QVariantMap values = m_values;
    bool overwritesUnreadable = m_unread || m_inexact;
    for (auto it = m_pending.begin(); it != m_pending.end(); ++it) {
        overwritesUnreadable = overwritesUnreadable || m_unreadable.contains(it.key());
        if (it.value())
            values.insert(it.key(), *it.value());
        else
            values.remove(it.key());
    }

    int error = 0;
    switch (kindOf(m_path, &error)) {
    case PathKind::Other:
        return fail(tr("%1 is not a regular file").arg(m_path));
    case PathKind::Failed:
        return fail(systemError(error));
    case PathKind::Missing:
        overwritesUnreadable = false; // nothing left to keep
        break;
    case PathKind::Regular:
        break;
    }

    if (overwritesUnreadable && m_keptCopy.isEmpty() && !keepCopyOfOriginal())
        return false;

    QString reason;
    const std::optional<QByteArray> bytes = formatIni(values, &reason);
    if (!bytes)
        return fail(reason);
    QDir().mkpath(QFileInfo(m_path).path());
    if (!writeAtomically(m_path, *bytes, &reason))
        return fail(reason);

    m_values = values;
    m_pending.clear();
    m_unreadable.clear();
    m_unread = false;
    m_inexact = false;
    m_lastError.clear();
    return true;
}

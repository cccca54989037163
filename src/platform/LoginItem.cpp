#include "LoginItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <filesystem>
#include <system_error>

LoginItem::LoginItem(QString executable)
    : m_executable(std::move(executable))
{
    if (m_executable.isEmpty())
        m_executable = QCoreApplication::applicationFilePath();
}

QString LoginItem::entryPath()
{
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative value is invalid and must be ignored.
    if (configHome.isEmpty() || QDir::isRelativePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return configHome + QStringLiteral("/autostart/daystride.desktop");
}

QString LoginItem::execValue(const QString &program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (const QChar c : program)
        needsQuotes = needsQuotes || reserved.contains(c);
    // First the quoting of the command line, then the escapes of a string value.
    QString argument;
    if (needsQuotes) {
        argument += QLatin1Char('"');
        for (const QChar c : program) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                argument += QLatin1Char('\\');
            argument += c;
        }
        argument += QLatin1Char('"');
    } else {
        argument = program;
    }
    QString value;
    for (const QChar c : std::as_const(argument)) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else if (c == u'%')
            value += QStringLiteral("%%"); // not a field code
        else
            value += c;
    }
    return value;
}

bool LoginItem::isEnabled() const
{
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inMainGroup || equals < 0)
            continue;
        if (line.left(equals).trimmed() == "Hidden" && line.mid(equals + 1).trimmed() == "true")
            return false;
    }
    return true;
}

bool LoginItem::setEnabled(bool enabled)
{
    QString error;
    if (!(enabled ? write(&error) : remove(&error))) {
        const QString line = tr("Launch at login failed: ") + error + QLatin1Char('\n');
        std::fputs(line.toLocal8Bit().constData(), stdout);
        std::fflush(stdout);
    }
    return isEnabled();
}

bool LoginItem::write(QString *error) const
{
    const QString path = entryPath();
    const QString folder = QFileInfo(path).absolutePath();
    std::error_code created;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), created);
    if (created || !QFileInfo(folder).isDir()) {
        const QString reason
            = created ? QString::fromLocal8Bit(created.message()) : tr("not a folder");
        *error = tr("cannot create the folder %1: %2").arg(folder, reason);
        return false;
    }
    const QByteArray contents = "[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=Daystride\n"
                                "Comment="
        + tr("Countdown to your next event").toUtf8()
        + "\n"
          "Exec="
        + execValue(m_executable).toUtf8()
        + "\n"
          "Icon=daystride\n"
          "Terminal=false\n"
          "X-GNOME-Autostart-enabled=true\n";
    // Written aside and renamed into place: never a half-written entry.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = tr("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    file.write(contents);
    if (!file.commit()) {
        *error = tr("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool LoginItem::remove(QString *error) const
{
    const QString path = entryPath();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.remove()) {
        *error = tr("cannot remove %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

#include "TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>

TestEnvironment::TestEnvironment()
    : m_previous(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
}

TestEnvironment::~TestEnvironment()
{
    qputenv("XDG_CONFIG_HOME", m_previous);
}

QString TestEnvironment::settingsPath() const
{
    return m_dir.filePath(QStringLiteral("Daystride/Daystride.conf"));
}

void TestEnvironment::writeSettingsFile(const QByteArray &contents) const
{
    QFile::remove(settingsPath());
    if (contents.isNull())
        return;
    QDir().mkpath(m_dir.filePath(QStringLiteral("Daystride")));
    QFile file(settingsPath());
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(settingsPath()));
    file.write(contents);
    file.close();
    // QSettings caches parsed files and rereads only when size or time changed.
    static qint64 stamp = QDateTime::currentSecsSinceEpoch() - 1000000;
    file.open(QIODevice::ReadWrite);
    file.setFileTime(QDateTime::fromSecsSinceEpoch(++stamp), QFileDevice::FileModificationTime);
}

QByteArray TestEnvironment::readSettingsFile() const
{
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestEnvironment::writeSettings(const QVariantMap &values) const
{
    writeSettingsFile("");
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.clear();
    for (auto it = values.begin(); it != values.end(); ++it)
        settings.setValue(it.key(), it.value());
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qFatal("cannot write %s", qPrintable(settingsPath()));
}

QVariant TestEnvironment::stored(const QString &key) const
{
    return QSettings(settingsPath(), QSettings::IniFormat).value(key);
}

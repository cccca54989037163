#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>

// Points XDG_CONFIG_HOME at a fresh temporary folder for the life of the object.
// Create it before the first settings store of the process: QSettings keeps the
// folder it saw first.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();

    QString configHome() const { return m_dir.path(); }
    QString settingsPath() const;

    // Replaces the settings file with raw INI text (or removes it when null), and
    // gives it a new modification time so QSettings reads it afresh.
    void writeSettingsFile(const QByteArray &contents) const;
    QByteArray readSettingsFile() const;
    // Replaces the settings with `values`, written the way the program writes them.
    void writeSettings(const QVariantMap &values) const;
    // One value as another reader of the file sees it now.
    QVariant stored(const QString &key) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

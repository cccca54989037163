#pragma once

#include <QCoreApplication>
#include <QString>

// Starting at login through an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/daystride.desktop. It is enabled when the file exists
// and does not say Hidden=true.
class LoginItem
{
    Q_DECLARE_TR_FUNCTIONS(LoginItem)

public:
    // `executable` is what the entry starts: by default the running program.
    explicit LoginItem(QString executable = QString());

    // The entry's path for the current environment.
    static QString entryPath();
    // The Exec= value that starts `program` with no arguments, quoted and escaped as
    // desktop entries require.
    static QString execValue(const QString &program);

    bool isEnabled() const;
    // Writes or removes the entry. On failure prints "Launch at login failed: " and
    // the reason to standard output. Returns the state that holds afterwards.
    bool setEnabled(bool enabled);

private:
    bool write(QString *error) const;
    bool remove(QString *error) const;

    QString m_executable;
};

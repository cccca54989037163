#pragma once

#include "platform/LinuxPlatform.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

// The panel text for bars that run a command (waybar, polybar, i3blocks, XFCE's
// generic monitor, LXQt's custom command): `daystride --status` prints it once from
// the stored settings, which the running program writes on every change; with
// --follow, again whenever it changes (as the panel's text turns, when the clock or
// the time zone changes, and when the settings change);
// with --json, as one JSON object a line: text, tooltip, and class ("passed" once the
// event has passed, otherwise "running").
class StatusCommand : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        bool follow = false;
        bool json = false;
    };
    // No value unless the arguments ask for the status.
    static std::optional<Options> parse(const QStringList &arguments);

    explicit StatusCommand(Options options);

    // Prints the line; with --follow keeps printing until ended, with the event loop.
    int run();

private:
    QString line();
    void printIfChanged();
    void armMinuteTick();
    void watchSettings();

    Options m_options;
    LinuxPlatform m_platform;
    QDateTime m_target; // the event, as last read
    QString m_printed;
    bool m_printedOnce = false;
    QTimer m_minuteTick;
    QFileSystemWatcher m_watcher;
};

#include "menubar/StatusCommand.h"

#include "model/Countdown.h"
#include "model/TimerViewModel.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

std::optional<StatusCommand::Options> StatusCommand::parse(const QStringList &arguments)
{
    if (!arguments.contains(QStringLiteral("--status")))
        return std::nullopt;
    Options options;
    options.follow = arguments.contains(QStringLiteral("--follow"));
    options.json = arguments.contains(QStringLiteral("--json"));
    return options;
}

StatusCommand::StatusCommand(Options options)
    : m_options(options)
{
    m_minuteTick.setSingleShot(true);
    m_minuteTick.setTimerType(Qt::PreciseTimer);
    const auto refresh = [this] {
        printIfChanged();
        armMinuteTick();
    };
    connect(&m_minuteTick, &QTimer::timeout, this, refresh);
    connect(&m_platform, &Platform::wallClockChanged, this, refresh);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        watchSettings();
        printIfChanged();
    });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] {
        watchSettings();
        printIfChanged();
    });
}

int StatusCommand::run()
{
    printIfChanged();
    if (!m_options.follow)
        return 0;
    watchSettings();
    armMinuteTick();
    return QCoreApplication::exec();
}

QString StatusCommand::line()
{
    // Read afresh each time: the running program may have saved since.
    m_platform.rereadSettings();
    const TimerViewModel model(m_platform);
    m_target = model.timerDate();
    const QString text = model.menuBarText().trimmed();
    if (!m_options.json)
        return text;
    const bool passed = model.timerDate() <= m_platform.now();
    const QJsonObject object {{QStringLiteral("text"), text},
        {QStringLiteral("tooltip"),
            model.eventName().trimmed().isEmpty() ? QStringLiteral("Daystride")
                                                  : model.eventName()},
        {QStringLiteral("class"), passed ? QStringLiteral("passed") : QStringLiteral("running")}};
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

void StatusCommand::printIfChanged()
{
    const QString current = line();
    if (m_printedOnce && current == m_printed)
        return;
    m_printed = current;
    m_printedOnce = true;
    std::fputs(qPrintable(current + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

void StatusCommand::armMinuteTick()
{
    // Where the panel's own text would turn, for the event as last read.
    m_minuteTick.start(int(msecsToNextTextChange(m_platform.now(), m_target)));
}

void StatusCommand::watchSettings()
{
    // The file is replaced whole on every save: its folder tells, and the folder's
    // parent until the folder exists.
    const QFileInfo file(m_platform.settings().fileName());
    const QStringList paths = {file.absoluteFilePath(), file.absolutePath(),
        QFileInfo(file.absolutePath()).absolutePath()};
    for (const QString &path : paths) {
        if (QFileInfo::exists(path) && !m_watcher.files().contains(path)
            && !m_watcher.directories().contains(path))
            m_watcher.addPath(path);
    }
}

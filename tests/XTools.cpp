#include "XTools.h"

#include <QProcess>

QString runXTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QRect serverGeometry(const QString &windowId)
{
    const QString out = runXTool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), windowId});
    if (!out.contains(QStringLiteral("IsViewable")))
        return {};
    auto field = [&](const char *name) {
        return out.section(QLatin1String(name) + ':', 1).section('\n', 0, 0).trimmed().toInt();
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
        field("Height"));
}

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

QStringList visibleWindows(const QString &title)
{
    const QString out = runXTool(QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
            QStringLiteral("^%1$").arg(title)});
    return out.isEmpty() ? QStringList() : out.split(QLatin1Char('\n'));
}

QString activeWindow()
{
    return runXTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")});
}

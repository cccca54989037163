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
    // A window that goes away while xdotool walks the tree ends its whole search with
    // an X error and no result: no answer, so ask again.
    for (int attempt = 0; attempt < 50; ++attempt) {
        QProcess search;
        search.start(QStringLiteral("xdotool"),
            {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                QStringLiteral("^%1$").arg(title)});
        search.waitForFinished(10000);
        if (search.readAllStandardError().contains("X Error"))
            continue;
        const QString out = QString::fromUtf8(search.readAllStandardOutput()).trimmed();
        return out.isEmpty() ? QStringList() : out.split(QLatin1Char('\n'));
    }
    qWarning("xdotool found no answer for \"%s\"", qPrintable(title));
    return {};
}

QString activeWindow()
{
    return runXTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")});
}

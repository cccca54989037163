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

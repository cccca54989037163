// Renders the countdown screen with sample content into PNG files, for the README:
//   countdown_screenshot OUTPUT_DIR [WIDTHxHEIGHT ...]
#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "model/TimerViewModel.h"
#include "screensaver/CountdownView.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: countdown_screenshot OUTPUT_DIR [WIDTHxHEIGHT ...]\n");
        return 2;
    }
    TestEnvironment env;
    FakePlatform platform;
    const QDateTime now(QDate(2026, 3, 2), QTime(9, 41, 7));
    platform.setNow(now);
    TimerViewModel model(platform);
    model.setEventName(QStringLiteral("Product Launch"));
    model.setSubtitle(QStringLiteral("Version 2.0 goes live"));
    model.setTimerDate(now.addDays(42).addSecs(5 * 3600 + 17 * 60 + 32));
    model.setQuotes({QStringLiteral("I embrace challenges as opportunities for growth")});
    TodoList todos = model.todos();
    todos[0].isCompleted = true;
    todos[3].isCompleted = true;
    model.setTodos(todos);

    QStringList sizes = args.mid(2);
    if (sizes.isEmpty())
        sizes = {QStringLiteral("1920x1080"), QStringLiteral("1440x900")};
    for (const QString &size : sizes) {
        const QStringList wh = size.split(u'x');
        if (wh.size() != 2)
            return 2;
        CountdownView view(&model);
        view.resize(wh[0].toInt(), wh[1].toInt());
        view.refresh();
        const QString path = QDir(args[1]).filePath(QStringLiteral("countdown-%1.png").arg(size));
        if (!view.grab().toImage().save(path))
            return 1;
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}

#include "model/TimerViewModel.h"
#include "platform/LinuxPlatform.h"
#include "platform/UnixSignalWatcher.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Daystride"));
    QApplication::setApplicationName(QStringLiteral("Daystride"));
    QApplication::setDesktopFileName(QStringLiteral("daystride"));
    QApplication::setQuitOnLastWindowClosed(false);

    UnixSignalWatcher signalWatcher;
    QObject::connect(
        &signalWatcher, &UnixSignalWatcher::terminationRequested, &app, &QCoreApplication::quit);

    LinuxPlatform platform;
    TimerViewModel viewModel(platform);

    return app.exec();
}

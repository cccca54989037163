#include "menubar/DaystrideApp.h"
#include "menubar/StatusCommand.h"
#include "platform/ColorSchemePortal.h"
#include "platform/LinuxPlatform.h"
#include "platform/Translations.h"
#include "platform/UnixSignalWatcher.h"
#include "platform/WaylandDecorations.h"
#include "platform/WaylandFrameCallbacks.h"
#include "ui/Appearance.h"
#include "ui/SymbolIcon.h"
#include "ui/WindowIcon.h"

#include <QApplication>
#include <QIcon>

namespace {
void nameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Daystride"));
    QCoreApplication::setApplicationName(QStringLiteral("Daystride"));
}
} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // For bars that run a command: the text alone, without a display or the panel item.
    if (const auto status = StatusCommand::parse(arguments)) {
        QCoreApplication app(argc, argv);
        nameApplication();
        Translations::install();
        StatusCommand command(*status);
        return command.run();
    }

    WaylandDecorations::preferCompositorFrames();
    WaylandFrameCallbacks::waitWithoutTimer();
    QApplication app(argc, argv);
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("daystride"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Before any text is made: the default tasks and quotes are translated too.
    Translations::install();
    SymbolIcon::ensureResources();
    QApplication::setWindowIcon(WindowIcon::make(QStringLiteral(":/daystride/daystride.svg")));

    // The desktop's light or dark preference, before the first window opens.
    Appearance appearance;
    ColorSchemePortal portal(QDBusConnection::sessionBus());
    QObject::connect(
        &portal, &ColorSchemePortal::schemeChanged, &appearance, &Appearance::setScheme);
    portal.start();

    UnixSignalWatcher signalWatcher;
    QObject::connect(
        &signalWatcher, &UnixSignalWatcher::terminationRequested, &app, &QCoreApplication::quit);

    LinuxPlatform platform;
    DaystrideApp daystride(platform);
    if (!daystride.start())
        return 0;
    return app.exec();
}

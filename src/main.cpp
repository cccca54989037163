#include "menubar/DaystrideApp.h"
#include "platform/ColorSchemePortal.h"
#include "platform/LinuxPlatform.h"
#include "platform/Translations.h"
#include "platform/UnixSignalWatcher.h"
#include "ui/Appearance.h"
#include "ui/SymbolIcon.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Daystride"));
    QApplication::setApplicationName(QStringLiteral("Daystride"));
    QApplication::setDesktopFileName(QStringLiteral("daystride"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Before any text is made: the default tasks and quotes are translated too.
    Translations::install();
    SymbolIcon::ensureResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/daystride/daystride.svg")));

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

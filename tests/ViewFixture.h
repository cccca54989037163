#pragma once

#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "model/TimerViewModel.h"

#include <QDateTime>
#include <QVariantMap>
#include <QWidget>

#include <memory>

// The program's windows as a user finds them: the fake platform (clock, idle time) on
// the real settings file in a temporary XDG_CONFIG_HOME, one model and one window at
// a time. Make it before the first settings store of the process.
class ViewFixture
{
public:
    enum Window { popoverTimer, popoverScreensaver, settings, guide };

    // A fresh start of the program on `stored` (keys and values as the program writes
    // them) at `now`: a new platform and model, no window.
    void restart(const QVariantMap &stored = {{QStringLiteral("onboarded"), true}},
        const QDateTime &now = QDateTime(QDate(2026, 3, 6), QTime(12, 0)));

    // restart() on the event the keyboard and screen-reader tests walk through: Launch
    // on 9 March 2026 at 15:30, idle after 5 minutes, the first task "Pack" and done.
    void restartWithLaunch();

    // Shows `which` and makes it active: the popover on the tab named, the guide at
    // `page` reached by Return and drawn in full. Null when it does not come up.
    QWidget *open(Window which, int page = 0);
    void close();

    TestEnvironment env;
    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<TimerViewModel> model;
    std::unique_ptr<QWidget> window;
};

#include "ViewFixture.h"

#include "menubar/Popover.h"
#include "onboarding/GuidePage.h"
#include "onboarding/OnboardingView.h"
#include "settings/SettingsView.h"

#include <QApplication>
#include <QTest>

void ViewFixture::restart(const QVariantMap &stored, const QDateTime &now)
{
    close();
    model.reset();
    // The covers of a countdown shown before go first: they would take the activation
    // from the next window.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform.reset();
    env.writeSettings(stored);
    platform = std::make_unique<FakePlatform>();
    platform->setNow(now);
    model = std::make_unique<TimerViewModel>(*platform);
}

void ViewFixture::restartWithLaunch()
{
    restart({{"onboarded", true}, {"savedEventName", "Launch"},
        {"savedDate", QDateTime(QDate(2026, 3, 9), QTime(15, 30))}, {"idleEnabled", true},
        {"idleMinutes", 5}});
    TodoList todos = model->todos();
    todos[0].text = QStringLiteral("Pack");
    todos[0].isCompleted = true;
    model->setTodos(todos);
}

QWidget *ViewFixture::open(Window which, int page)
{
    close();
    if (which == settings) {
        window = std::make_unique<SettingsView>(*model, [] {});
        window->show();
    } else if (which == guide) {
        window = std::make_unique<OnboardingView>(*model);
        window->show();
    } else {
        auto popover = std::make_unique<Popover>(*model);
        popover->showAt(QPoint(900, 10));
        window = std::move(popover);
    }
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    if (which == popoverScreensaver)
        QTest::keyClick(window.get(), Qt::Key_Tab, Qt::ControlModifier);
    for (int i = 0; i < page; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // A page fades in: drawn in full once its effect is gone.
    if (auto *onboarding = qobject_cast<OnboardingView *>(window.get())) {
        if (!QTest::qWaitFor([onboarding] { return !onboarding->page()->graphicsEffect(); }))
            return nullptr;
    }
    return window.get();
}

void ViewFixture::close()
{
    window.reset();
}

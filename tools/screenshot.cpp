// Renders one scene of the program with sample content into a PNG, for the README:
//   screenshot [--dark] SCENE WIDTHxHEIGHT OUTPUT.png
// --dark renders it as on a desktop that prefers dark colours.
// The settings live in a temporary folder, so the user's own are never read or
// written. Each scene is one function in `scenes` below.
#include "menubar/PanelIcon.h"
#include "menubar/Popover.h"
#include "menubar/TimerView.h"
#include "model/TimerViewModel.h"
#include "onboarding/OnboardingView.h"
#include "platform/LinuxPlatform.h"
#include "platform/Translations.h"
#include "screensaver/CountdownView.h"
#include "settings/SettingsView.h"
#include "ui/Appearance.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>

namespace {

// The real platform with the clock stopped, so every run shows the same numbers.
class StillPlatform : public LinuxPlatform
{
public:
    explicit StillPlatform(const QDateTime &now)
        : m_now(now)
    {
    }
    QDateTime now() const override { return m_now; }

private:
    QDateTime m_now;
};

void fillSample(TimerViewModel &model, const QDateTime &now)
{
    model.setEventName(QStringLiteral("Product Launch"));
    model.setSubtitle(QStringLiteral("Version 2.0 goes live"));
    model.setTimerDate(now.addDays(42).addSecs(5 * 3600 + 17 * 60 + 32));
    model.setQuotes({QStringLiteral("I embrace challenges as opportunities for growth")});
    const QStringList titles
        = {QStringLiteral("Freeze the feature list"), QStringLiteral("Write the release notes"),
            QStringLiteral("Record the demo video"), QStringLiteral("Brief the support team"),
            QStringLiteral("Update the website"), QStringLiteral("Send the press kit")};
    TodoList todos = model.todos();
    for (qsizetype i = 0; i < todos.size() && i < titles.size(); ++i)
        todos[i].text = titles[i];
    todos[0].isCompleted = true;
    todos[2].isCompleted = true;
    model.setTodos(todos);
}

using Scene = std::function<std::unique_ptr<QWidget>(TimerViewModel &)>;

std::unique_ptr<QWidget> countdownScene(TimerViewModel &model)
{
    return std::make_unique<CountdownView>(&model);
}

// A strip of a dark desktop panel with the item as a host shows it: the icon and
// the label beside it.
class PanelStrip : public QWidget
{
public:
    explicit PanelStrip(TimerViewModel &model)
        : m_text(model.menuBarText())
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), QColor(0x24, 0x24, 0x24));
        QFont font = this->font();
        font.setPixelSize(14);
        font.setWeight(QFont::DemiBold);
        painter.setFont(font);
        const int textWidth = painter.fontMetrics().horizontalAdvance(m_text);
        const int x = width() - textWidth - 16 - 6 - 24;
        const int icon = 16;
        painter.drawImage(QRect(x, (height() - icon) / 2, icon, icon),
            PanelIcon::image(qRound(icon * devicePixelRatioF()), PanelIcon::Disc::light));
        painter.setPen(Qt::white);
        painter.drawText(QRect(x + icon + 6, 0, textWidth + 2, height()), Qt::AlignVCenter, m_text);
        painter.drawText(
            QRect(12, 0, 200, height()), Qt::AlignVCenter, QStringLiteral("Activities"));
    }

private:
    QString m_text;
};

std::unique_ptr<QWidget> panelScene(TimerViewModel &model)
{
    return std::make_unique<PanelStrip>(model);
}

std::unique_ptr<QWidget> popoverScene(TimerViewModel &model, TimerView::Tab tab)
{
    auto popover = std::make_unique<Popover>(model);
    popover->timerView()->appear();
    popover->timerView()->setTab(tab);
    return popover;
}

std::unique_ptr<QWidget> settingsScene(TimerViewModel &model)
{
    return std::make_unique<SettingsView>(model, [] {});
}

std::unique_ptr<QWidget> onboardingScene(TimerViewModel &model, int step)
{
    auto guide = std::make_unique<OnboardingView>(model);
    guide->advance(step);
    return guide;
}

const std::map<QString, Scene> scenes = {
    {QStringLiteral("onboarding-1"),
        [](TimerViewModel &model) {
            return onboardingScene(model, 0);
        }},
    {QStringLiteral("onboarding-2"),
        [](TimerViewModel &model) {
            return onboardingScene(model, 1);
        }},
    {QStringLiteral("onboarding-3"),
        [](TimerViewModel &model) {
            return onboardingScene(model, 2);
        }},
    {QStringLiteral("onboarding-4"),
        [](TimerViewModel &model) {
            return onboardingScene(model, 3);
        }},
    {QStringLiteral("onboarding-5"),
        [](TimerViewModel &model) {
            return onboardingScene(model, 4);
        }},
    {QStringLiteral("settings"), settingsScene},
    {QStringLiteral("countdown"), countdownScene},
    {QStringLiteral("panel"), panelScene},
    {QStringLiteral("popover-timer"),
        [](TimerViewModel &model) {
            return popoverScene(model, TimerView::Tab::timer);
        }},
    {QStringLiteral("popover-screensaver"),
        [](TimerViewModel &model) {
            return popoverScene(model, TimerView::Tab::screensaver);
        }},
};

int usage()
{
    QStringList names;
    for (const auto &[name, scene] : scenes)
        names << name;
    std::fprintf(stderr, "usage: screenshot [--dark] SCENE WIDTHxHEIGHT OUTPUT.png\nscenes: %s\n",
        qPrintable(names.join(u' ')));
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // Before the first settings store: QSettings keeps the folder it saw first.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    // In the language LANG names (scripts/screenshots keeps to English).
    Translations::install(QLocale::system(), {QStringLiteral(DAYSTRIDE_TRANSLATIONS_BUILD_DIR)});
    QStringList args = app.arguments();
    // The colours the program derives at start, light or as the desktop's dark preference.
    Appearance appearance;
    if (args.size() > 1 && args[1] == u"--dark") {
        appearance.setScheme(Appearance::Scheme::dark);
        args.removeAt(1);
    }
    if (args.size() != 4)
        return usage();
    const auto scene = scenes.find(args[1]);
    const QStringList wh = args[2].split(u'x');
    // A height of 0 takes the scene's own height.
    QSize size = wh.size() == 2 ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize();
    if (scene == scenes.end() || size.width() <= 0 || size.height() < 0)
        return usage();

    const QDateTime now(QDate(2026, 3, 2), QTime(9, 41, 7));
    StillPlatform platform(now);
    TimerViewModel model(platform);
    fillSample(model, now);

    const std::unique_ptr<QWidget> widget = scene->second(model);
    widget->setWindowFlag(Qt::FramelessWindowHint);
    if (size.height() == 0) {
        widget->adjustSize();
        size.setHeight(widget->sizeHint().height());
    }
    widget->setGeometry(QRect(QPoint(0, 0), size));
    widget->show();
    if (!QTest::qWaitForWindowExposed(widget.get()))
        std::fprintf(stderr, "screenshot: the window was not exposed; grabbing anyway\n");
    // Deferred layouts and repaints first.
    QTest::qWait(100);
    if (widget->size() != size)
        widget->resize(size);
    if (!widget->grab().toImage().save(args[3])) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    std::printf("%s\n", qPrintable(args[3]));
    return 0;
}

#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "menubar/ScreensaverSettingsView.h"
#include "model/TimerViewModel.h"
#include "onboarding/ScreensaverPage.h"
#include "settings/SettingsView.h"

#include <QLabel>
#include <QTest>

// The line beside "Show when idle" in the popover's screensaver tab, the Settings
// window and the guide's page: there exactly while no idle source answers.
class TestIdleNotice : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

    static QLabel *notice(QWidget *view)
    {
        for (QLabel *label : view->findChildren<QLabel *>()) {
            if (label->text().contains(QLatin1String("does not report idle time")))
                return label;
        }
        return nullptr;
    }

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnvironment>(); }

    void shownWhileNoSourceAnswers_data()
    {
        QTest::addColumn<int>("view");
        QTest::newRow("popover's screensaver tab") << 0;
        QTest::newRow("Settings window") << 1;
        QTest::newRow("guide's screensaver page") << 2;
    }

    void shownWhileNoSourceAnswers()
    {
        QFETCH(int, view);
        for (const bool answers : {false, true}) {
            FakePlatform platform;
            platform.idle = answers ? 0.0 : std::nan("");
            TimerViewModel model(platform);
            std::unique_ptr<QWidget> widget;
            if (view == 0)
                widget = std::make_unique<ScreensaverSettingsView>(model);
            else if (view == 1)
                widget = std::make_unique<SettingsView>(model, [] {});
            else
                widget = std::make_unique<ScreensaverPage>(model, false, nullptr);
            widget->show();
            QVERIFY(QTest::qWaitForWindowExposed(widget.get()));
            QLabel *line = notice(widget.get());
            QVERIFY(line);
            QCOMPARE(line->isVisible(), !answers);

            // The desktop's answer changes while the view is open.
            emit platform.idleTimeAvailableChanged(!answers);
            QCOMPARE(line->isVisible(), answers);
        }
    }
};

QTEST_MAIN(TestIdleNotice)
#include "tst_idlenotice.moc"

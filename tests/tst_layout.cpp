#include "FakePlatform.h"
#include "TestEnvironment.h"
#include "model/TimerViewModel.h"
#include "onboarding/EventPage.h"
#include "onboarding/OnboardingView.h"
#include "settings/QuoteRow.h"
#include "settings/SettingsView.h"
#include "settings/TaskRow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Spacing, alignment and padding as they are drawn on the offscreen platform.
class TestLayout : public QObject
{
    Q_OBJECT

    // The first column from the left where the text's colour shows.
    static int textStart(QLineEdit *field)
    {
        const QImage image = field->grab().toImage();
        const QColor text = field->palette().color(QPalette::Text);
        for (int x = 0; x < image.width(); ++x) {
            for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y) {
                const QColor seen = image.pixelColor(x, y);
                if (qAbs(seen.lightness() - text.lightness()) < 60)
                    return x;
            }
        }
        return -1;
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<TimerViewModel> m_model;

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_env->writeSettingsFile(QByteArray("[General]\nonboarded=true\n"));
        m_platform = std::make_unique<FakePlatform>();
        m_model = std::make_unique<TimerViewModel>(*m_platform);
        m_model->setEventName(QStringLiteral("Launch"));
        m_model->setSubtitle(QStringLiteral("Version 2"));
    }

    void guideButtonsKeepTheirSpacing()
    {
        OnboardingView guide(*m_model);
        guide.show();
        QApplication::setActiveWindow(&guide);
        QVERIFY(QTest::qWaitForWindowActive(&guide));
        QTest::keyClick(guide.primaryButton(), Qt::Key_Return);
        QVERIFY(guide.backButton()->isVisible());
        const QRect back = guide.backButton()->geometry();
        QCOMPARE_GE(guide.primaryButton()->geometry().left() - back.right() - 1, 6);
    }

    void settingsFieldsFormOneColumn()
    {
        SettingsView settings(*m_model, [] {});
        settings.show();
        QVERIFY(QTest::qWaitForWindowExposed(&settings));
        QCOMPARE(settings.eventNameField()->mapTo(&settings, QPoint()).x(),
            settings.subtitleField()->mapTo(&settings, QPoint()).x());
    }

    void fieldsArePaddedLikeTheirGroups()
    {
        SettingsView settings(*m_model, [] {});
        settings.show();
        QVERIFY(QTest::qWaitForWindowExposed(&settings));
        OnboardingView guide(*m_model);
        guide.show();
        QApplication::setActiveWindow(&guide);
        QVERIFY(QTest::qWaitForWindowActive(&guide));
        QTest::keyClick(guide.primaryButton(), Qt::Key_Return);
        QVERIFY(guide.eventPage());
        settings.quoteRows().first()->textField()->setText(QStringLiteral("Quote"));
        const QList<QLineEdit *> fields = {settings.eventNameField(), settings.subtitleField(),
            settings.taskRows().first()->textField(), settings.quoteRows().first()->textField(),
            guide.eventPage()->subtitleField()};
        for (QLineEdit *field : fields) {
            // The text starts about 8 in from the border, not 2.
            QVERIFY2(textStart(field) >= 8, qPrintable(QString::number(textStart(field))));
            // Round corners: the very corner shows the background, the edge a border.
            const QImage image = field->grab().toImage();
            const QColor background = field->palette().color(QPalette::Window);
            QCOMPARE(image.pixelColor(0, 0), background);
            QVERIFY(image.pixelColor(0, image.height() / 2) != background);
        }
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"

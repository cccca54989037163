#pragma once

#include <QTimer>
#include <QWidget>

#include <optional>

class DatePage;
class EventPage;
class GuidePage;
class QLabel;
class QLineEdit;
class QPushButton;
class RoundedBox;
class ScreensaverPage;
class StepDots;
class Switch;
class TimerViewModel;

// The five-step welcome guide in a window of its own: one page at a time, the step
// dots and Back / the primary button below. The pages write straight into the
// model; finishing marks the guide done, saves and closes the window.
class OnboardingView : public QWidget
{
    Q_OBJECT

public:
    enum class Step { welcome = 0, event = 1, date = 2, screensaver = 3, tour = 4 };
    static constexpr int stepCount = 5;
    static constexpr int contentWidth = 540;
    static constexpr int contentHeight = 500;
    // The step with this raw value; none outside 0 to 4.
    static std::optional<Step> stepFromRaw(qint64 raw);

    explicit OnboardingView(TimerViewModel &viewModel, QWidget *parent = nullptr);

    Step step() const { return m_step; }
    bool canContinue() const;
    // Moves by `offset` steps; nothing when that leaves the five.
    void advance(qint64 offset);
    void finish();
    bool launchAtLogin() const { return m_launchAtLogin; }
    bool nameFocused() const;

    // For tests and screenshots; the page-specific ones are null on other pages.
    GuidePage *page() const { return m_page; }
    EventPage *eventPage() const;
    DatePage *datePage() const;
    ScreensaverPage *screensaverPage() const;
    QPushButton *backButton() const { return m_back; }
    QPushButton *primaryButton() const { return m_primary; }
    QLineEdit *nameField() const;
    RoundedBox *nameBox() const;
    Switch *loginSwitch() const;
    QWidget *delayRow() const;
    QLabel *menuBarPreview() const;
    QWidget *menuBarPreviewCapsule() const;
    QWidget *pastWarning() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fitPage();
    GuidePage *buildPage(Step step);
    void showStep(Step step);
    void refresh();

    TimerViewModel &m_viewModel;
    Step m_step = Step::welcome;
    bool m_launchAtLogin = false;
    bool m_activatedOnce = false;

    QWidget *m_pageArea = nullptr;
    GuidePage *m_page = nullptr;
    StepDots *m_dots = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_primary = nullptr;
    QTimer m_refresh;
};

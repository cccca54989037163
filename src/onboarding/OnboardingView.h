#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class RoundedBox;
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

    // For tests and screenshots.
    QWidget *page() const { return m_page; }
    QPushButton *backButton() const { return m_back; }
    QPushButton *primaryButton() const { return m_primary; }
    QLineEdit *nameField() const { return m_nameField; }
    RoundedBox *nameBox() const { return m_nameBox; }
    Switch *loginSwitch() const { return m_loginSwitch; }
    QWidget *delayRow() const { return m_delayRow; }
    QLabel *menuBarPreview() const { return m_preview; }
    QWidget *menuBarPreviewCapsule() const { return m_previewCapsule; }
    QWidget *pastWarning() const { return m_warningRow; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildPage(Step step);
    QWidget *welcomePage();
    QWidget *eventPage();
    QWidget *datePage();
    QWidget *screensaverPage();
    QWidget *tourPage();
    QWidget *pageHeader(const QString &symbol, const QString &title, const QString &explanation,
        QWidget *parent) const;
    QWidget *optionRow(
        const QString &symbol, const QString &text, QWidget *control, QWidget *parent) const;

    void showStep(Step step);
    void refresh();
    void userChangedLaunchAtLogin(bool enabled);

    TimerViewModel &m_viewModel;
    Step m_step = Step::welcome;
    bool m_launchAtLogin = false;
    bool m_activatedOnce = false;

    QWidget *m_pageArea = nullptr;
    QWidget *m_page = nullptr;
    QWidget *m_dots = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_primary = nullptr;
    QTimer m_refresh;
    // Widgets of the page shown now; null on the other pages.
    QLineEdit *m_nameField = nullptr;
    RoundedBox *m_nameBox = nullptr;
    QLabel *m_pencil = nullptr;
    Switch *m_loginSwitch = nullptr;
    QWidget *m_delayRow = nullptr;
    QLabel *m_preview = nullptr;
    QWidget *m_previewCapsule = nullptr;
    QLabel *m_warning = nullptr;
    QWidget *m_warningRow = nullptr;
    std::function<void()> m_refreshPage;
};

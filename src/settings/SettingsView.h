#pragma once

#include <QList>
#include <QWidget>

#include <functional>

class QLineEdit;
class QDateTimeEdit;
class QLabel;
class QPushButton;
class QScrollArea;
class QuoteRow;
class SettingsGroup;
class Stepper;
class Switch;
class TaskRow;
class TimerViewModel;

// The Settings window: a grouped form that edits every option straight in the view
// model and saves after each change while it is shown. The login item is the one
// setting it keeps itself, read from the platform when the form is built.
class SettingsView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int contentWidth = 450;
    static constexpr int contentHeight = 640;
    static constexpr int titleBarAllowance = 40;
    static constexpr qint64 minimumIdleMinutes = 1;
    static constexpr qint64 maximumIdleMinutes = 120;

    // `showWelcomeGuide` opens the guide's window; it may be empty.
    SettingsView(TimerViewModel &viewModel, std::function<void()> showWelcomeGuide,
        QWidget *parent = nullptr);
    ~SettingsView() override;

    bool launchAtLogin() const { return m_launchAtLogin; }

    QScrollArea *scrollArea() const { return m_scrollArea; }
    Switch *launchAtLoginSwitch() const { return m_launchSwitch; }
    QPushButton *welcomeGuideButton() const { return m_guideButton; }
    QLineEdit *eventNameField() const { return m_eventName; }
    QLineEdit *subtitleField() const { return m_subtitle; }
    QDateTimeEdit *endsPicker() const { return m_ends; }
    const QList<TaskRow *> &taskRows() const { return m_taskRows; }
    const QList<QuoteRow *> &quoteRows() const { return m_quoteRows; }
    QPushButton *addQuoteButton() const { return m_addQuote; }
    QPushButton *restoreDefaultsButton() const { return m_restoreDefaults; }
    Switch *idleSwitch() const { return m_idleSwitch; }
    Stepper *idleStepper() const { return m_idleStepper; }
    QLabel *idleStepperLabel() const { return m_idleLabel; }
    QPushButton *previewButton() const { return m_preview; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // As wide as the form wants (a large font, a long translation or quote), from
    // `contentWidth` to the screen's width.
    void fitWidth();
    void buildGeneral(QWidget *form);
    void buildCountdown(QWidget *form);
    void buildTasks(QWidget *form);
    void buildQuotes(QWidget *form);
    void buildScreensaver(QWidget *form);
    void watchForSaving();

    void userChangedLaunchAtLogin(bool enabled);
    void showTimerDate();
    void showTodos();
    void showQuotes();
    void showIdle();
    void addQuote();
    void updateTabOrder();

    TimerViewModel &m_viewModel;
    std::function<void()> m_showWelcomeGuide;
    bool m_launchAtLogin = false;

    QScrollArea *m_scrollArea = nullptr;
    Switch *m_launchSwitch = nullptr;
    QPushButton *m_guideButton = nullptr;
    QLineEdit *m_eventName = nullptr;
    QLineEdit *m_subtitle = nullptr;
    QDateTimeEdit *m_ends = nullptr;
    SettingsGroup *m_tasksGroup = nullptr;
    QList<TaskRow *> m_taskRows;
    SettingsGroup *m_quotesGroup = nullptr;
    QList<QuoteRow *> m_quoteRows;
    QPushButton *m_addQuote = nullptr;
    QPushButton *m_restoreDefaults = nullptr;
    Switch *m_idleSwitch = nullptr;
    QWidget *m_idleStepperRow = nullptr;
    QLabel *m_idleLabel = nullptr;
    Stepper *m_idleStepper = nullptr;
    QPushButton *m_preview = nullptr;
};

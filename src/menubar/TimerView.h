#pragma once

#include <QDateTime>
#include <QTimer>
#include <QWidget>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTimeEdit;
class QToolButton;
class ScreensaverSettingsView;
class TimerViewModel;

// The popover's content: the tab switch, the timer tab (drafts of the event's
// name and date, committed by "Set Date and Time"), the screensaver tab, and the
// bar with Show Countdown, Settings and Quit.
class TimerView : public QWidget
{
    Q_OBJECT

public:
    enum class Tab { timer, screensaver };

    explicit TimerView(TimerViewModel &viewModel, QWidget *parent = nullptr);

    // Each time the popover opens: the drafts start again from the model.
    void appear();

    Tab tab() const { return m_tab; }
    void setTab(Tab tab);
    // An instant like the model's, shown and edited in the zone of the moment: a draft
    // made before a change of time zone is the same moment after it.
    QDateTime draftDate() const { return m_draftDate.toLocalTime(); }
    void setDraftDate(const QDateTime &date);
    const QString &draftName() const { return m_draftName; }
    void setDraftName(const QString &name);
    bool hasChanges() const;

    void commit();
    void showCountdown();
    void openSettings();
    void quit();

    // For tests and screenshots.
    QToolButton *timerTabButton() const { return m_timerTabButton; }
    QToolButton *screensaverTabButton() const { return m_screensaverTabButton; }
    QLineEdit *nameField() const { return m_nameField; }
    QDateEdit *dateField() const { return m_dateField; }
    QTimeEdit *timeField() const { return m_timeField; }
    QPushButton *commitButton() const { return m_commitButton; }
    QList<QLabel *> countdownNumbers() const { return m_numbers; }
    ScreensaverSettingsView *screensaverView() const { return m_screensaverView; }
    const QTimer &countdownTicker() const { return m_ticker; }

signals:
    void closeRequested();
    void settingsRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QWidget *createTimerTab();
    QWidget *createBottomBar();
    void fitToPage();
    void refreshCountdown();
    void refreshDraftFields();
    void updateCommitButton();

    TimerViewModel &m_viewModel;
    Tab m_tab = Tab::timer;
    QDateTime m_draftDate = QDateTime::currentDateTimeUtc();
    QString m_draftName;

    QToolButton *m_timerTabButton = nullptr;
    QToolButton *m_screensaverTabButton = nullptr;
    QStackedWidget *m_pages = nullptr;
    QWidget *m_timerTab = nullptr;
    QWidget *m_nameBox = nullptr;
    QLineEdit *m_nameField = nullptr;
    QLabel *m_pencil = nullptr;
    QList<QLabel *> m_numbers;
    QList<QLabel *> m_units;
    QDateEdit *m_dateField = nullptr;
    QTimeEdit *m_timeField = nullptr;
    QPushButton *m_commitButton = nullptr;
    ScreensaverSettingsView *m_screensaverView = nullptr;
    QTimer m_ticker;
};

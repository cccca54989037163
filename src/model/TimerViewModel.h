#pragma once

#include "Countdown.h"
#include "Todo.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

#include <memory>

class Platform;
class ScreensaverController;

// The one state object: the event, its checklist, the quotes and the idle options.
// Every write of a published field, also of an equal value, emits objectWillChange()
// before the value changes and the field's own signal after it. Nothing is saved
// unless save() is called, and save() writes only when something changed since the
// last write that succeeded.
class TimerViewModel : public QObject
{
    Q_OBJECT

public:
    // The six tasks and the quotes a new user starts with, in the user's language.
    static QStringList defaultTaskTitles();
    static QStringList defaultQuotes();

    // Loads the stored settings at once; writes nothing back.
    explicit TimerViewModel(Platform &platform, QObject *parent = nullptr);
    ~TimerViewModel() override;

    Platform &platform() const { return m_platform; }

    const QStringList &quotes() const { return m_quotes; }
    void setQuotes(const QStringList &quotes);
    // An instant: kept in UTC, so a change of time zone moves only how it is shown.
    // Read as local time in the zone of the moment of reading.
    QDateTime timerDate() const { return m_timerDate.toLocalTime(); }
    void setTimerDate(const QDateTime &date);
    const QString &eventName() const { return m_eventName; }
    void setEventName(const QString &name);
    const QString &subtitle() const { return m_subtitle; }
    void setSubtitle(const QString &subtitle);
    const TodoList &todos() const { return m_todos; }
    void setTodos(const TodoList &todos);
    bool idleEnabled() const { return m_idleEnabled; }
    void setIdleEnabled(bool enabled);
    qint64 idleMinutes() const { return m_idleMinutes; }
    void setIdleMinutes(qint64 minutes);

    // Plain field: writing it announces nothing and saves nothing.
    bool hasCompletedOnboarding() const { return m_hasCompletedOnboarding; }
    void setHasCompletedOnboarding(bool done);
    // The guide's end: marks it finished, writes "onboarded" (nothing else writes
    // that key) and saves.
    void finishOnboarding();

    // Created on first use and kept; it refers back to this object without owning it.
    ScreensaverController *screensaver();

    // 12 weeks after `now` by the calendar, keeping the wall-clock time of day.
    static QDateTime defaultEventDate(const QDateTime &now);

    // Writes the seven published fields, never "onboarded"; the file is on disk when
    // it returns. Several views save after the same change: a save with nothing new
    // since the last successful one writes nothing.
    void save();
    // One line for the user while saves fail ("Settings could not be saved: ...");
    // empty once a save works. The fields keep the edits, and the next save retries.
    const QString &saveProblem() const { return m_saveProblem; }
    // Set by the first save of this run that had to keep a copy of a settings file
    // it could not read in full; names the copy.
    const QString &damagedFileNotice() const { return m_damagedFileNotice; }

    TimeRemaining timeRemaining() const;
    QString menuBarText() const;

signals:
    void objectWillChange();
    void quotesChanged();
    void timerDateChanged();
    void eventNameChanged();
    void subtitleChanged();
    void todosChanged();
    void idleEnabledChanged();
    void idleMinutesChanged();
    // After every save() that wrote, whatever the store made of it.
    void saved();
    void storageNoticesChanged();

private:
    void load();
    // Announces, assigns, then tells the field's observers; equal values announce too.
    template<typename T> void assign(T &member, const T &value, void (TimerViewModel::*changed)())
    {
        emit objectWillChange();
        m_unsaved = m_unsaved || member != value;
        member = value;
        emit(this->*changed)();
    }

    Platform &m_platform;
    QStringList m_quotes;
    QDateTime m_timerDate;
    QString m_eventName;
    QString m_subtitle;
    TodoList m_todos;
    bool m_idleEnabled = false;
    qint64 m_idleMinutes = 5;
    bool m_hasCompletedOnboarding = false;
    // A change not yet on disk, or a save that failed and must be retried.
    bool m_unsaved = false;
    std::unique_ptr<ScreensaverController> m_screensaver;
    QString m_saveProblem;
    QString m_damagedFileNotice;
};

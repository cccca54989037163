#include "TimerViewModel.h"

#include "QuoteList.h"
#include "platform/Platform.h"
#include "platform/SettingsStore.h"
#include "screensaver/ScreensaverController.h"

#include <QDebug>

namespace {

const QString kOnboarded = QStringLiteral("onboarded");
const QString kSavedDate = QStringLiteral("savedDate");
const QString kSavedEventName = QStringLiteral("savedEventName");
const QString kSubtitle = QStringLiteral("subtitle");
const QString kTodos = QStringLiteral("todos");
const QString kQuotes = QStringLiteral("quotes");
const QString kIdleEnabled = QStringLiteral("idleEnabled");
const QString kIdleMinutes = QStringLiteral("idleMinutes");

// Translated when they are handed out, so a new user starts in their own language;
// what the user has stored is never translated.
const char *const kDefaultTaskTitles[] = {
    QT_TRANSLATE_NOOP("TimerViewModel", "Finish the launch checklist"),
    QT_TRANSLATE_NOOP("TimerViewModel", "Send the press kit"),
    QT_TRANSLATE_NOOP("TimerViewModel", "Record the demo video"),
    QT_TRANSLATE_NOOP("TimerViewModel", "Update the website"),
    QT_TRANSLATE_NOOP("TimerViewModel", "Test the release build"),
    QT_TRANSLATE_NOOP("TimerViewModel", "Plan the celebration"),
};

const char *const kDefaultQuotes[] = {
    QT_TRANSLATE_NOOP("TimerViewModel", "Today I choose to be happy"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I'm grateful for everything I have"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I'm capable of achieving great things"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I choose to focus on what I can control"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I embrace challenges as opportunities for growth"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I'm confident in my abilities"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I'm grateful for the blessings in my life"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I'm open to new possibilities"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I'm positive and optimistic"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I'm grateful for the support of my loved ones"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I'm committed to continuous improvement"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I choose to make a positive impact today"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I'm confident in my decisions"),
    QT_TRANSLATE_NOOP("TimerViewModel", "I'm open to learning and growing"),
};

} // namespace

QStringList TimerViewModel::defaultTaskTitles()
{
    QStringList titles;
    for (const char *title : kDefaultTaskTitles)
        titles << tr(title);
    return titles;
}

QStringList TimerViewModel::defaultQuotes()
{
    QStringList quotes;
    for (const char *quote : kDefaultQuotes)
        quotes << tr(quote);
    return quotes;
}

TimerViewModel::TimerViewModel(Platform &platform, QObject *parent)
    : QObject(parent)
    , m_platform(platform)
    , m_timerDate(platform.now().toUTC())
{
    load();
    m_unsaved = false;
}

TimerViewModel::~TimerViewModel() = default;

void TimerViewModel::setQuotes(const QStringList &quotes)
{
    assign(m_quotes, quotes, &TimerViewModel::quotesChanged);
}

void TimerViewModel::setTimerDate(const QDateTime &date)
{
    assign(m_timerDate, date.toUTC(), &TimerViewModel::timerDateChanged);
}

void TimerViewModel::setEventName(const QString &name)
{
    assign(m_eventName, name, &TimerViewModel::eventNameChanged);
}

void TimerViewModel::setSubtitle(const QString &subtitle)
{
    assign(m_subtitle, subtitle, &TimerViewModel::subtitleChanged);
}

void TimerViewModel::setTodos(const TodoList &todos)
{
    assign(m_todos, todos, &TimerViewModel::todosChanged);
}

void TimerViewModel::setIdleEnabled(bool enabled)
{
    assign(m_idleEnabled, enabled, &TimerViewModel::idleEnabledChanged);
}

void TimerViewModel::setIdleMinutes(qint64 minutes)
{
    assign(m_idleMinutes, minutes, &TimerViewModel::idleMinutesChanged);
}

void TimerViewModel::setHasCompletedOnboarding(bool done)
{
    m_hasCompletedOnboarding = done;
}

void TimerViewModel::finishOnboarding()
{
    setHasCompletedOnboarding(true);
    // The one writer of the key. A file from before it, with a saved date alone,
    // counts as done when loaded and is saved without the key.
    m_platform.settings().setBool(kOnboarded, true);
    m_unsaved = true;
    save();
}

ScreensaverController *TimerViewModel::screensaver()
{
    if (!m_screensaver)
        m_screensaver = std::make_unique<ScreensaverController>(this);
    return m_screensaver.get();
}

QDateTime TimerViewModel::defaultEventDate(const QDateTime &now)
{
    const QDateTime date = now.toLocalTime().addDays(12 * 7);
    return date.isValid() ? date : now;
}

void TimerViewModel::load()
{
    const SettingsStore &store = m_platform.settings();

    if (store.contains(kOnboarded))
        m_hasCompletedOnboarding = store.boolValue(kOnboarded);
    else
        m_hasCompletedOnboarding = store.contains(kSavedDate);

    setTimerDate(store.date(kSavedDate).value_or(defaultEventDate(m_platform.now())));

    if (const auto name = store.string(kSavedEventName))
        setEventName(*name);

    setSubtitle(store.string(kSubtitle).value_or(QString()));

    std::optional<TodoList> todos;
    if (const auto data = store.data(kTodos))
        todos = decodeTodos(*data);
    if (!todos || todos->size() != qsizetype(std::size(kDefaultTaskTitles))) {
        store.markUnreadable(kTodos);
        todos = TodoList();
        for (const QString &title : defaultTaskTitles())
            todos->append(Todo::create(title));
    }
    setTodos(*todos);

    std::optional<QStringList> quotes;
    if (const auto data = store.data(kQuotes))
        quotes = decodeQuotes(*data);
    if (!quotes)
        store.markUnreadable(kQuotes);
    setQuotes(quotes.value_or(defaultQuotes()));

    setIdleEnabled(store.boolValue(kIdleEnabled));

    if (store.contains(kIdleMinutes))
        setIdleMinutes(std::max<qint64>(store.integer(kIdleMinutes), 1));
}

void TimerViewModel::save()
{
    if (!m_unsaved)
        return;
    SettingsStore &store = m_platform.settings();
    store.setDate(kSavedDate, m_timerDate);
    store.setString(kSavedEventName, m_eventName);
    store.setString(kSubtitle, m_subtitle);
    store.setData(kTodos, encodeTodos(m_todos));
    store.setData(kQuotes, encodeQuotes(m_quotes));
    store.setBool(kIdleEnabled, m_idleEnabled);
    store.setInteger(kIdleMinutes, m_idleMinutes);
    // The store writes atomically: a failed write leaves the previous file intact,
    // and keeps the changes for the next save.
    const bool written = store.sync();
    m_unsaved = !written;
    const QString problem
        = written ? QString() : tr("Settings could not be saved: %1").arg(store.lastError());
    QString notice = m_damagedFileNotice;
    if (notice.isEmpty() && !store.keptCopy().isEmpty())
        notice = tr("Some stored settings could not be read; the original file is kept as %1.")
                     .arg(store.keptCopy());
    // Said once, not at every keystroke of a failing field.
    if (!problem.isEmpty() && problem != m_saveProblem)
        qWarning().noquote() << problem;
    if (notice != m_damagedFileNotice)
        qWarning().noquote() << notice;
    if (problem != m_saveProblem || notice != m_damagedFileNotice) {
        m_saveProblem = problem;
        m_damagedFileNotice = notice;
        emit storageNoticesChanged();
    }
    emit saved();
}

TimeRemaining TimerViewModel::timeRemaining() const
{
    return timeRemainingBetween(m_platform.now(), m_timerDate);
}

QString TimerViewModel::menuBarText() const
{
    return menuBarTextBetween(m_platform.now(), m_timerDate);
}

#include "settings/SettingsView.h"

#include "model/LocalDateTime.h"
#include "model/TimerViewModel.h"
#include "platform/Platform.h"
#include "screensaver/ScreensaverController.h"
#include "settings/QuoteRow.h"
#include "settings/SettingsGroup.h"
#include "settings/TaskRow.h"
#include "ui/Accessibility.h"
#include "ui/DateTimeFormats.h"
#include "ui/IdleNotice.h"
#include "ui/Look.h"
#include "ui/ReturnKey.h"
#include "ui/SingleLineText.h"
#include "ui/Stepper.h"
#include "ui/StorageNotice.h"
#include "ui/Switch.h"
#include "ui/SymbolIcon.h"
#include "ui/TextField.h"
#include "ui/Units.h"
#include "ui/WindowHeader.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <memory>

SettingsView::SettingsView(
    TimerViewModel &viewModel, std::function<void()> showWelcomeGuide, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
    , m_showWelcomeGuide(std::move(showWelcomeGuide))
    , m_launchAtLogin(viewModel.platform().launchAtLogin())
{
    // Translated like every text; scripts and window rules find it by its class.
    setWindowTitle(tr("Daystride Settings"));
    Accessibility::setRole(this, QAccessible::Window);
    // No taller than the screen leaves room for, title bar included (1366 x 768 at
    // 125 %); the form scrolls inside. A title bar of its own is part of the window.
    const bool ownTitleBar = viewModel.platform().windowsDrawOwnTitleBar();
    const QRect available = screen()->availableGeometry();
    setFixedSize(contentWidth,
        ownTitleBar ? std::min(contentHeight + WindowHeader::height, available.height())
                    : std::min(contentHeight, available.height() - titleBarAllowance));

    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Not a stop of its own: Tab goes through the form's controls, and the area
    // scrolls to each as it takes the focus.
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    if (ownTitleBar)
        outer->addWidget(new WindowHeader(this));
    outer->addWidget(
        new StorageNotice(viewModel, StorageNotice::Shows::saveProblemAndDamagedFile, this));
    outer->addWidget(m_scrollArea);

    auto *form = new QWidget;
    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(20, 16, 20, 20);
    layout->setSpacing(0);
    buildGeneral(form);
    buildCountdown(form);
    buildTasks(form);
    buildQuotes(form);
    buildScreensaver(form);
    layout->addStretch(1);
    m_scrollArea->setWidget(form);
    form->installEventFilter(this);
    fitWidth();

    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    ReturnKey::install(this);

    watchForSaving();
    updateTabOrder();
    // The focus starts in the first field, not on the switch above it.
    m_eventName->setFocus(Qt::OtherFocusReason);
}

SettingsView::~SettingsView() = default;

bool SettingsView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scrollArea->widget() && event->type() == QEvent::LayoutRequest)
        fitWidth();
    return QWidget::eventFilter(watched, event);
}

void SettingsView::fitWidth()
{
    const int wanted = m_scrollArea->widget()->sizeHint().width()
        + m_scrollArea->verticalScrollBar()->sizeHint().width();
    const int width = std::clamp(
        wanted, contentWidth, std::max(contentWidth, screen()->availableGeometry().width()));
    if (minimumWidth() != width || maximumWidth() != width)
        setFixedWidth(width);
}

void SettingsView::buildGeneral(QWidget *form)
{
    auto *group = SettingsGroup::addSection(form, tr("General"));

    m_launchSwitch = new Switch;
    m_launchSwitch->setChecked(m_launchAtLogin);
    group->addRow(tr("Launch at login"), m_launchSwitch);
    connect(m_launchSwitch, &Switch::clicked, this, &SettingsView::userChangedLaunchAtLogin);

    m_guideButton = new QPushButton(tr("Show Welcome Guide"));
    group->addRow(QString(), m_guideButton);
    connect(m_guideButton, &QPushButton::clicked, this, [this] {
        if (m_showWelcomeGuide)
            m_showWelcomeGuide();
    });
}

void SettingsView::buildCountdown(QWidget *form)
{
    auto *group = SettingsGroup::addSection(form, tr("Countdown"));

    m_eventName = new TextField;
    SingleLineText::apply(m_eventName);
    Look::makeRounded(m_eventName);
    m_eventName->setText(m_viewModel.eventName());
    group->addRow(tr("Event name"), m_eventName, true);
    connect(m_eventName, &QLineEdit::textEdited, &m_viewModel, &TimerViewModel::setEventName);
    connect(&m_viewModel, &TimerViewModel::eventNameChanged, this,
        [this] { Look::setTextKeepingCursor(m_eventName, m_viewModel.eventName()); });

    m_subtitle = new TextField;
    SingleLineText::apply(m_subtitle);
    Look::makeRounded(m_subtitle);
    m_subtitle->setText(m_viewModel.subtitle());
    group->addRow(tr("Secondary text"), m_subtitle, true);
    connect(m_subtitle, &QLineEdit::textEdited, &m_viewModel, &TimerViewModel::setSubtitle);
    connect(&m_viewModel, &TimerViewModel::subtitleChanged, this,
        [this] { Look::setTextKeepingCursor(m_subtitle, m_viewModel.subtitle()); });

    m_ends = new QDateTimeEdit;
    // No range limit: the widest span the picker can show, past moments included.
    m_ends->setDateTimeRange(
        QDateTime(QDate(100, 1, 1), QTime(0, 0)), QDateTime(QDate(9999, 12, 31), QTime(23, 59)));
    m_ends->setDisplayFormat(DateTimeFormats::dateTime());
    m_ends->setCalendarPopup(true);
    m_ends->setAccessibleName(tr("Ends"));
    showTimerDate();
    group->addRow(tr("Ends"), m_ends);
    // The field skips the hour the clock skips, but picks the second of a repeated one.
    connect(m_ends, &QDateTimeEdit::dateTimeChanged, &m_viewModel, [this](const QDateTime &ends) {
        m_viewModel.setTimerDate(localDateTime(ends.date(), ends.time()));
    });
    connect(&m_viewModel, &TimerViewModel::timerDateChanged, this, &SettingsView::showTimerDate);
    // After a change of time zone the same moment reads another day and time.
    connect(&m_viewModel, &TimerViewModel::objectWillChange, this, &SettingsView::showTimerDate,
        Qt::QueuedConnection);
}

void SettingsView::buildTasks(QWidget *form)
{
    m_tasksGroup = SettingsGroup::addSection(form, tr("Tasks"));
    showTodos();
    connect(&m_viewModel, &TimerViewModel::todosChanged, this, &SettingsView::showTodos);
}

void SettingsView::buildQuotes(QWidget *form)
{
    m_quotesGroup = SettingsGroup::addSection(form, tr("Quotes"),
        tr("The countdown screen shows one at random and changes it every 90 seconds. Delete "
           "them all to hide the quote."));

    m_addQuote = new QPushButton(tr("Add Quote"));
    SymbolIcon::show(m_addQuote, QStringLiteral("plus"), 16,
        [](const QPalette &palette) { return palette.color(QPalette::ButtonText); });
    m_quotesGroup->addRow(QString(), m_addQuote);
    connect(m_addQuote, &QPushButton::clicked, this, &SettingsView::addQuote);

    m_restoreDefaults = new QPushButton(tr("Restore Defaults"));
    m_quotesGroup->addRow(QString(), m_restoreDefaults);
    connect(m_restoreDefaults, &QPushButton::clicked, this,
        [this] { m_viewModel.setQuotes(TimerViewModel::defaultQuotes()); });

    showQuotes();
    connect(&m_viewModel, &TimerViewModel::quotesChanged, this, &SettingsView::showQuotes);
}

void SettingsView::buildScreensaver(QWidget *form)
{
    auto *group = SettingsGroup::addSection(form, tr("Screensaver"));

    m_idleSwitch = new Switch;
    group->addRow(tr("Show countdown when idle"), m_idleSwitch);
    group->addRow(new IdleNotice(m_viewModel.platform()));
    connect(m_idleSwitch, &Switch::clicked, &m_viewModel, &TimerViewModel::setIdleEnabled);

    // The row's label shows the value; the stepper shows only its buttons.
    m_idleStepper = new Stepper(minimumIdleMinutes, maximumIdleMinutes, QString());
    // Named for what it sets, not for its value: a name that changes is read again.
    m_idleStepper->setAccessibleName(tr("Delay"));
    m_idleStepper->setSpokenText([](qint64 count) { return Units::spoken(Units::minutes, count); });
    m_idleStepperRow = group->addRow(QString(), m_idleStepper);
    m_idleLabel = group->labelOf(m_idleStepperRow);
    connect(m_idleStepper, &Stepper::valueChanged, &m_viewModel, &TimerViewModel::setIdleMinutes);

    m_preview = new QPushButton(tr("Preview Now"));
    group->addRow(QString(), m_preview);
    // The countdown covers the screens; this window stays open underneath.
    connect(m_preview, &QPushButton::clicked, this, [this] { m_viewModel.screensaver()->show(); });

    showIdle();
    connect(&m_viewModel, &TimerViewModel::idleEnabledChanged, this, &SettingsView::showIdle);
    connect(&m_viewModel, &TimerViewModel::idleMinutesChanged, this, &SettingsView::showIdle);
}

void SettingsView::watchForSaving()
{
    // The model announces every write, equal values too; save once for each write
    // that really changed a stored field, and only while the window is shown.
    auto watch = [this](auto changed, auto read) {
        using Value = std::decay_t<decltype(std::invoke(read, m_viewModel))>;
        auto seen = std::make_shared<Value>(std::invoke(read, m_viewModel));
        connect(&m_viewModel, changed, this, [this, seen, read] {
            const Value &value = std::invoke(read, m_viewModel);
            if (value == *seen)
                return;
            *seen = value;
            if (isVisible())
                m_viewModel.save();
        });
    };
    watch(&TimerViewModel::eventNameChanged, &TimerViewModel::eventName);
    watch(&TimerViewModel::subtitleChanged, &TimerViewModel::subtitle);
    watch(&TimerViewModel::timerDateChanged, &TimerViewModel::timerDate);
    watch(&TimerViewModel::idleEnabledChanged, &TimerViewModel::idleEnabled);
    watch(&TimerViewModel::idleMinutesChanged, &TimerViewModel::idleMinutes);
    watch(&TimerViewModel::todosChanged, &TimerViewModel::todos);
    watch(&TimerViewModel::quotesChanged, &TimerViewModel::quotes);
}

void SettingsView::userChangedLaunchAtLogin(bool enabled)
{
    m_launchAtLogin = m_viewModel.platform().changeLaunchAtLogin(enabled);
    m_launchSwitch->setChecked(m_launchAtLogin);
}

void SettingsView::showTimerDate()
{
    if (m_ends->dateTime() == m_viewModel.timerDate())
        return;
    const QSignalBlocker quiet(m_ends);
    m_ends->setDateTime(m_viewModel.timerDate());
}

void SettingsView::showTodos()
{
    const qsizetype count = m_viewModel.todos().size();
    const bool rebuilt = m_taskRows.size() != count;
    while (m_taskRows.size() > count) {
        QWidget *row = m_taskRows.takeLast();
        m_tasksGroup->removeRow(row);
    }
    while (m_taskRows.size() < count) {
        auto *row = new TaskRow(m_viewModel, m_taskRows.size());
        m_tasksGroup->addRow(row);
        m_taskRows.append(row);
    }
    for (TaskRow *row : std::as_const(m_taskRows))
        row->refresh();
    if (rebuilt)
        updateTabOrder();
}

void SettingsView::showQuotes()
{
    const qsizetype count = m_viewModel.quotes().size();
    const bool rebuilt = m_quoteRows.size() != count;
    // Rows go from the end, so each remaining row keeps its position; a removed row
    // may still be in the middle of handling its own click, hence removed later.
    while (m_quoteRows.size() > count) {
        QWidget *row = m_quoteRows.takeLast();
        m_quotesGroup->removeRow(row);
    }
    while (m_quoteRows.size() < count) {
        auto *row = new QuoteRow(m_viewModel, m_quoteRows.size());
        m_quotesGroup->insertRow(m_quoteRows.size(), row);
        m_quoteRows.append(row);
    }
    for (QuoteRow *row : std::as_const(m_quoteRows))
        row->refresh();
    m_restoreDefaults->setEnabled(m_viewModel.quotes() != TimerViewModel::defaultQuotes());
    if (rebuilt)
        updateTabOrder();
}

void SettingsView::showIdle()
{
    const bool enabled = m_viewModel.idleEnabled();
    m_idleSwitch->setChecked(enabled);
    m_idleStepper->setValue(m_viewModel.idleMinutes());
    m_idleLabel->setText(
        tr("After %lld min")
            .replace(QStringLiteral("%lld"), QString::number(m_viewModel.idleMinutes())));
    m_idleStepperRow->setEnabled(enabled);
}

void SettingsView::addQuote()
{
    QStringList quotes = m_viewModel.quotes();
    quotes.append(QString());
    m_viewModel.setQuotes(quotes);
    // The new row is where the user types next.
    if (!m_quoteRows.isEmpty()) {
        QuoteRow *row = m_quoteRows.last();
        row->textField()->setFocus(Qt::OtherFocusReason);
        m_scrollArea->ensureWidgetVisible(row);
    }
}

void SettingsView::updateTabOrder()
{
    // Rows are added after the controls below them exist; put the keyboard focus
    // chain back in reading order, top to bottom.
    if (!m_preview)
        return;
    QList<QWidget *> chain = {m_launchSwitch, m_guideButton, m_eventName, m_subtitle, m_ends};
    for (TaskRow *row : std::as_const(m_taskRows))
        chain << row->doneBox() << row->textField();
    for (QuoteRow *row : std::as_const(m_quoteRows))
        chain << row->textField() << row->deleteButton();
    chain << m_addQuote << m_restoreDefaults << m_idleSwitch << m_idleStepper << m_preview;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

#include "menubar/TimerView.h"

#include "menubar/ScreensaverSettingsView.h"
#include "model/LocalDateTime.h"
#include "model/TimerViewModel.h"
#include "platform/Platform.h"
#include "screensaver/ScreensaverController.h"
#include "ui/Accessibility.h"
#include "ui/DateTimeFormats.h"
#include "ui/Look.h"
#include "ui/ReturnKey.h"
#include "ui/RoundedBox.h"
#include "ui/SingleLineText.h"
#include "ui/SymbolIcon.h"
#include "ui/TabularNumber.h"
#include "ui/TextField.h"
#include "ui/Units.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QHBoxLayout *pickerRow(
    const QString &symbol, const QString &label, QWidget *picker, QWidget *parent)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(10, 8, 10, 8);
    row->setSpacing(10);
    auto *icon = new QLabel(parent);
    icon->setFixedWidth(16);
    SymbolIcon::show(icon, symbol, 16, &Look::accent);
    row->addWidget(icon);
    auto *text = new QLabel(label, parent);
    text->setBuddy(picker);
    // Read in the order shown: the picker was made before its row.
    icon->stackUnder(picker);
    text->stackUnder(picker);
    picker->setAccessibleName(label);
    row->addWidget(text);
    row->addStretch();
    row->addWidget(picker);
    return row;
}

} // namespace

TimerView::TimerView(TimerViewModel &viewModel, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(16);

    // The tab switch: two segments of one control, announced as a list of tabs.
    auto *tabBar = new QWidget(this);
    Accessibility::setRole(tabBar, QAccessible::PageTabList);
    auto *switchRow = new QHBoxLayout(tabBar);
    switchRow->setContentsMargins(0, 0, 0, 0);
    switchRow->setSpacing(0);
    auto *tabs = new QButtonGroup(this);
    m_timerTabButton = Look::segment(tr("Timer"), Look::Segment::first, tabBar);
    m_screensaverTabButton = Look::segment(tr("Screensaver"), Look::Segment::last, tabBar);
    for (QToolButton *button : {m_timerTabButton, m_screensaverTabButton}) {
        tabs->addButton(button);
        switchRow->addWidget(button, 1);
    }
    m_timerTabButton->setChecked(true);
    connect(m_timerTabButton, &QToolButton::clicked, this, [this] { setTab(Tab::timer); });
    connect(
        m_screensaverTabButton, &QToolButton::clicked, this, [this] { setTab(Tab::screensaver); });
    layout->addWidget(tabBar);

    m_pages = new QStackedWidget(this);
    m_timerTab = createTimerTab();
    m_pages->addWidget(m_timerTab);
    m_screensaverView = new ScreensaverSettingsView(viewModel, this);
    m_pages->addWidget(m_screensaverView);
    layout->addWidget(m_pages);
    layout->addWidget(Look::divider(this));
    layout->addWidget(createBottomBar());

    // The live countdown ticks only while the timer tab is on screen.
    m_ticker.setInterval(1000);
    m_ticker.setTimerType(Qt::PreciseTimer);
    connect(&m_ticker, &QTimer::timeout, this, &TimerView::refreshCountdown);
    m_timerTab->installEventFilter(this);

    connect(&viewModel, &TimerViewModel::timerDateChanged, this, [this] {
        refreshCountdown();
        updateCommitButton();
    });
    connect(&viewModel, &TimerViewModel::eventNameChanged, this, &TimerView::updateCommitButton);
    // After a change of time zone the same draft reads another day and time.
    connect(&viewModel, &TimerViewModel::objectWillChange, this, &TimerView::refreshDraftFields,
        Qt::QueuedConnection);

    // Return commits, unless it presses the focused button.
    ReturnKey::install(this, [this] {
        if (m_tab == Tab::timer && m_commitButton->isEnabled())
            commit();
    });
    // The tab list's keys: Ctrl+Tab and Ctrl+Page Down to the next tab, with Shift
    // or Page Up back; two tabs, so each goes to the other.
    const QKeySequence tabKeys[] = {QKeySequence(Qt::CTRL | Qt::Key_Tab),
        QKeySequence(Qt::CTRL | Qt::Key_PageDown),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)};
    for (const QKeySequence &keys : tabKeys) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            setTab(m_tab == Tab::timer ? Tab::screensaver : Tab::timer);
            // The focus goes with the tab list rather than into the hidden page.
            (m_tab == Tab::timer ? m_timerTabButton : m_screensaverTabButton)
                ->setFocus(Qt::TabFocusReason);
        });
    }
    refreshDraftFields();
    refreshCountdown();
    fitToPage();
}

QWidget *TimerView::createTimerTab()
{
    auto *tab = new QWidget(this);
    auto *layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);

    auto *header = new QVBoxLayout;
    header->setSpacing(4);
    header->addWidget(Look::caption(tr("COUNTING DOWN TO"), tab));
    auto *nameBox = new RoundedBox(tab);
    m_nameBox = nameBox;
    nameBox->setBorder(true);
    nameBox->setToolTip(tr("Click to rename the event"));
    nameBox->setCursor(Qt::IBeamCursor);
    auto *nameRow = new QHBoxLayout(nameBox);
    nameRow->setContentsMargins(10, 8, 10, 8);
    nameRow->setSpacing(8);
    m_nameField = new TextField(nameBox);
    SingleLineText::apply(m_nameField);
    m_nameField->setPlaceholderText(tr("Event Name"));
    m_nameField->setAccessibleName(m_nameField->placeholderText());
    m_nameField->setFrame(false);
    m_nameField->setAttribute(Qt::WA_MacShowFocusRect, false);
    Look::makePlain(m_nameField);
    m_nameField->setFont(Look::font(Look::TextStyle::title2, QFont::DemiBold));
    nameRow->addWidget(m_nameField);
    m_pencil = new QLabel(nameBox);
    nameRow->addWidget(m_pencil);
    nameBox->installEventFilter(this);
    m_nameField->installEventFilter(this);
    header->addWidget(nameBox);
    layout->addLayout(header);
    connect(m_nameField, &QLineEdit::textEdited, this, &TimerView::setDraftName);

    auto *cells = new QHBoxLayout;
    cells->setSpacing(8);
    for (int unit = Units::days; unit <= Units::seconds; ++unit) {
        auto *cell = new RoundedBox(tab);
        auto *stack = new QVBoxLayout(cell);
        stack->setContentsMargins(0, 10, 0, 10);
        stack->setSpacing(2);
        auto *number = new TabularNumber(QStringLiteral("0"), cell);
        number->setAlignment(Qt::AlignCenter);
        number->setFont(Look::roundedNumberFont(26, QFont::DemiBold));
        auto *label = Look::secondaryLabel(
            Units::label(Units::Unit(unit), 0), Look::TextStyle::caption2, cell);
        label->setAlignment(Qt::AlignCenter);
        stack->addWidget(number);
        stack->addWidget(label);
        cells->addWidget(cell, 1);
        m_numbers << number;
        m_units << label;
    }
    layout->addLayout(cells);

    auto *group = new RoundedBox(tab);
    auto *rows = new QVBoxLayout(group);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    m_dateField = new QDateEdit(group);
    m_dateField->setDisplayFormat(DateTimeFormats::date());
    m_dateField->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    m_timeField = new QTimeEdit(group);
    m_timeField->setDisplayFormat(DateTimeFormats::time());
    rows->addLayout(pickerRow(QStringLiteral("calendar"), tr("Date"), m_dateField, group));
    rows->addWidget(Look::divider(group, 36));
    rows->addLayout(pickerRow(QStringLiteral("clock"), tr("Time"), m_timeField, group));
    layout->addWidget(group);
    connect(m_dateField, &QDateEdit::dateChanged, this, [this](QDate date) {
        // The calendar day changes; the time of day stays.
        setDraftDate(localDateTime(date, draftDate().time()));
    });
    connect(m_timeField, &QTimeEdit::timeChanged, this, [this](QTime time) {
        // Hour and minute change; the day and the seconds stay.
        const QDateTime shown = draftDate();
        const QTime kept = shown.time();
        setDraftDate(localDateTime(
            shown.date(), QTime(time.hour(), time.minute(), kept.second(), kept.msec())));
    });

    m_commitButton = new QPushButton(tr("Set Date and Time"), tab);
    Look::makeProminent(m_commitButton);
    connect(m_commitButton, &QPushButton::clicked, this, &TimerView::commit);
    layout->addWidget(m_commitButton);
    return tab;
}

QWidget *TimerView::createBottomBar()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    auto *show = Look::plainButton(QStringLiteral("play.display"), tr("Show Countdown"), bar);
    connect(show, &QToolButton::clicked, this, &TimerView::showCountdown);
    row->addWidget(show);
    row->addStretch();
    auto *settings = Look::plainButton(QStringLiteral("gearshape"), tr("Settings"), bar);
    settings->setToolTip(tr("Edit tasks, quotes and more in the Settings window"));
    connect(settings, &QToolButton::clicked, this, &TimerView::openSettings);
    row->addWidget(settings);
    auto *power = Look::plainButton(QStringLiteral("power"), QString(), bar);
    power->setToolTip(tr("Quit Daystride"));
    power->setAccessibleName(tr("Quit Daystride"));
    connect(power, &QToolButton::clicked, this, &TimerView::quit);
    row->addWidget(power);
    return bar;
}

void TimerView::appear()
{
    m_draftDate = m_viewModel.timerDate().toUTC();
    m_draftName = m_viewModel.eventName();
    refreshDraftFields();
    m_nameField->end(false);
    // The focus starts where the user types.
    if (m_tab == Tab::timer)
        m_nameField->setFocus(Qt::OtherFocusReason);
    else
        m_screensaverView->subtitleField()->setFocus(Qt::OtherFocusReason);
    refreshCountdown();
    updateCommitButton();
}

void TimerView::setTab(Tab tab)
{
    m_tab = tab;
    m_timerTabButton->setChecked(tab == Tab::timer);
    m_screensaverTabButton->setChecked(tab == Tab::screensaver);
    m_pages->setCurrentIndex(tab == Tab::timer ? 0 : 1);
    if (tab == Tab::screensaver)
        m_screensaverView->appear();
    fitToPage();
}

void TimerView::fitToPage()
{
    // The stack would keep the taller page's height: the popover follows its content.
    m_pages->setFixedHeight(m_pages->currentWidget()->sizeHint().height());
    // The window's layout keeps this view's old size hint until told it changed.
    updateGeometry();
    if (window() != this)
        window()->adjustSize();
}

void TimerView::setDraftDate(const QDateTime &date)
{
    m_draftDate = date.toUTC();
    refreshDraftFields();
    updateCommitButton();
}

void TimerView::setDraftName(const QString &name)
{
    m_draftName = name;
    refreshDraftFields();
    updateCommitButton();
}

bool TimerView::hasChanges() const
{
    return m_draftDate != m_viewModel.timerDate() || m_draftName != m_viewModel.eventName();
}

void TimerView::commit()
{
    m_viewModel.setTimerDate(m_draftDate);
    m_viewModel.setEventName(m_draftName);
    m_viewModel.save();
    emit closeRequested();
}

void TimerView::showCountdown()
{
    emit closeRequested();
    m_viewModel.screensaver()->show();
}

void TimerView::openSettings()
{
    emit closeRequested();
    emit settingsRequested();
}

void TimerView::quit()
{
    m_viewModel.platform().quit();
}

bool TimerView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_timerTab) {
        if (event->type() == QEvent::Show) {
            refreshCountdown();
            m_ticker.start();
        } else if (event->type() == QEvent::Hide) {
            m_ticker.stop();
        }
    } else if (watched == m_nameBox && event->type() == QEvent::MouseButtonPress) {
        // The whole padded box focuses the field, not only its text.
        m_nameField->setFocus(Qt::MouseFocusReason);
        return true;
    } else if (watched == m_nameField
        && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        refreshDraftFields();
    }
    return QWidget::eventFilter(watched, event);
}

void TimerView::changeEvent(QEvent *event)
{
    // The pencil's tint depends on the focus as well as the palette.
    if (event->type() == QEvent::PaletteChange)
        refreshDraftFields();
    QWidget::changeEvent(event);
}

void TimerView::refreshCountdown()
{
    const TimeRemaining left = m_viewModel.timeRemaining();
    const qint64 values[] = {left.days, left.hours, left.minutes, left.seconds};
    for (int i = 0; i < m_numbers.size(); ++i) {
        m_numbers[i]->setText(QString::number(values[i]));
        m_units[i]->setText(Units::label(Units::Unit(i), values[i]));
    }
}

void TimerView::refreshDraftFields()
{
    const QSignalBlocker blockDate(m_dateField);
    const QSignalBlocker blockTime(m_timeField);
    // Set only when the zone's view of the draft differs, so a redraw at the minute
    // leaves a field that is being typed in alone.
    const QDateTime shown = draftDate();
    if (m_dateField->date() != shown.date())
        m_dateField->setDate(shown.date());
    if (m_timeField->time() != shown.time())
        m_timeField->setTime(shown.time());
    if (m_nameField->text() != m_draftName) {
        const int cursor = m_nameField->cursorPosition();
        m_nameField->setText(m_draftName);
        m_nameField->setCursorPosition(std::min<int>(cursor, int(m_draftName.size())));
    }
    const bool focused = m_nameField->hasFocus();
    static_cast<RoundedBox *>(m_nameBox)->setFocusBorder(focused);
    m_pencil->setPixmap(SymbolIcon::pixmap(QStringLiteral("pencil"),
        focused ? Look::accent(palette()) : Look::secondary(palette()), 14, devicePixelRatioF()));
}

void TimerView::updateCommitButton()
{
    m_commitButton->setEnabled(hasChanges());
}

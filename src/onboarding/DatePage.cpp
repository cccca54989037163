#include "onboarding/DatePage.h"

#include "model/LocalDateTime.h"
#include "model/TimerViewModel.h"
#include "onboarding/DayCalendar.h"
#include "platform/Platform.h"
#include "ui/DateTimeFormats.h"
#include "ui/Look.h"
#include "ui/LookStyle.h"

#include <QCalendarWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimeEdit>
#include <QVBoxLayout>

DatePage::DatePage(TimerViewModel &viewModel, QWidget *parent)
    : GuidePage(viewModel, parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(header(QStringLiteral("calendar"), tr("When is it?"),
        tr("The menu bar shows the days, hours and minutes left.")));

    auto *row = new QHBoxLayout;
    row->setSpacing(24);
    m_calendar = new DayCalendar(this);
    m_calendar->setAccessibleName(tr("Date"));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    row->addWidget(m_calendar, 0, Qt::AlignTop);

    auto *side = new QVBoxLayout;
    side->setSpacing(16);
    auto *timeSection = new QVBoxLayout;
    timeSection->setSpacing(6);
    timeSection->addWidget(wrappingLabel(tr("Time"), this));
    m_time = new QTimeEdit(this);
    m_time->setAccessibleName(tr("Time"));
    m_time->setDisplayFormat(DateTimeFormats::time());
    timeSection->addWidget(m_time, 0, Qt::AlignLeft);
    side->addLayout(timeSection);
    auto *barSection = new QVBoxLayout;
    barSection->setSpacing(6);
    barSection->addWidget(wrappingLabel(tr("In your menu bar"), this));
    // The panel item as it will look: the symbol and the text on a capsule.
    m_previewCapsule = new QFrame(this);
    LookStyle::apply(m_previewCapsule, LookStyle::Shape::capsule);
    auto *capsule = new QHBoxLayout(m_previewCapsule);
    capsule->setContentsMargins(10, 4, 10, 4);
    capsule->setSpacing(5);
    capsule->addWidget(symbolLabel(
        QStringLiteral("clock.fill"), 13,
        [](const QPalette &palette) { return palette.color(QPalette::WindowText); },
        m_previewCapsule));
    m_preview = new QLabel(m_previewCapsule);
    QFont previewFont = font();
    previewFont.setPixelSize(13);
    previewFont.setWeight(QFont::Medium);
    m_preview->setFont(previewFont);
    capsule->addWidget(m_preview);
    barSection->addWidget(m_previewCapsule, 0, Qt::AlignLeft);

    const QColor orange(0xff, 0x95, 0x00);
    m_warningRow = new QWidget(this);
    auto *warning = new QHBoxLayout(m_warningRow);
    warning->setContentsMargins(0, 0, 0, 0);
    warning->setSpacing(5);
    warning->addWidget(symbolLabel(
        QStringLiteral("exclamationmark.triangle"), 14,
        [orange](const QPalette &) { return orange; }, m_warningRow));
    auto *warningText = new QLabel(tr("Pick a time in the future"), m_warningRow);
    QPalette warningColours = warningText->palette();
    warningColours.setColor(QPalette::WindowText, orange);
    warningText->setPalette(warningColours);
    warning->addWidget(warningText);
    barSection->addWidget(m_warningRow, 0, Qt::AlignLeft);
    side->addLayout(barSection);
    side->addStretch();
    row->addLayout(side, 1);
    layout->addLayout(row);
    layout->addStretch();

    // The day follows the highlight, by mouse and by keyboard alike, so Return (which
    // moves on) and Back find the day the user last saw highlighted. A click on the
    // day already highlighted picks it too: for a passed event the calendar
    // highlights today, the first day it offers, which the event is not on.
    connect(m_calendar, &QCalendarWidget::selectionChanged, this,
        [this] { pickDay(m_calendar->selectedDate()); });
    connect(m_calendar, &QCalendarWidget::clicked, this, &DatePage::pickDay);
    connect(m_calendar, &QCalendarWidget::activated, this, &DatePage::pickDay);
    connect(m_time, &QTimeEdit::timeChanged, this, [this](QTime value) {
        const QDateTime date = m_viewModel.timerDate();
        const QDateTime next = localDateTime(date.date(),
            QTime(value.hour(), value.minute(), date.time().second(), date.time().msec()));
        if (next != date)
            m_viewModel.setTimerDate(next);
    });
}

void DatePage::pickDay(QDate day)
{
    // The day changes; the hour and minute stay.
    const QDateTime date = m_viewModel.timerDate();
    if (day.isValid() && day != date.date())
        m_viewModel.setTimerDate(localDateTime(day, date.time()));
}

bool DatePage::canContinue() const
{
    return m_viewModel.timerDate() > m_viewModel.platform().now();
}

void DatePage::refresh()
{
    const QDateTime date = m_viewModel.timerDate();
    const QDateTime now = m_viewModel.platform().now();
    {
        const QSignalBlocker block(m_calendar);
        m_calendar->setMinimumDate(now.date());
        // Setting it again would also turn the page back to the selected month.
        if (m_calendar->selectedDate() != date.date())
            m_calendar->setSelectedDate(date.date());
    }
    {
        const QSignalBlocker block(m_time);
        m_time->setTime(date.time());
    }
    const bool future = date > now;
    m_previewCapsule->setVisible(future);
    m_warningRow->setVisible(!future);
    m_preview->setText(m_viewModel.menuBarText());
}

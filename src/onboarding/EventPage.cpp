#include "onboarding/EventPage.h"

#include "model/TimerViewModel.h"
#include "model/Whitespace.h"
#include "ui/Look.h"
#include "ui/RoundedBox.h"
#include "ui/SingleLineText.h"
#include "ui/SymbolIcon.h"
#include "ui/TextField.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

EventPage::EventPage(TimerViewModel &viewModel, QWidget *parent)
    : GuidePage(viewModel, parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(header(QStringLiteral("flag.checkered"), tr("What are you counting down to?"),
        tr("The event name appears on the full-screen countdown.")));

    m_nameBox = new RoundedBox(this);
    m_nameBox->setBorder(true);
    auto *row = new QHBoxLayout(m_nameBox);
    row->setContentsMargins(12, 10, 12, 10);
    row->setSpacing(8);
    m_nameField = new TextField(m_nameBox);
    SingleLineText::apply(m_nameField);
    m_nameField->setAccessibleName(tr("Event name"));
    m_nameField->setPlaceholderText(tr("e.g. Product Launch"));
    Look::makePlain(m_nameField);
    m_nameField->setFont(Look::font(Look::TextStyle::title2, QFont::DemiBold));
    m_nameField->setText(m_viewModel.eventName());
    m_nameField->installEventFilter(this);
    row->addWidget(m_nameField);
    m_pencil = new QLabel(m_nameBox);
    row->addWidget(m_pencil);
    layout->addWidget(m_nameBox);
    connect(m_nameField, &QLineEdit::textEdited, &m_viewModel, &TimerViewModel::setEventName);

    auto *secondary = new QVBoxLayout;
    secondary->setSpacing(6);
    secondary->addWidget(wrappingLabel(tr("Secondary text (optional)"), this));
    m_subtitleField = new TextField(this);
    m_subtitleField->setText(m_viewModel.subtitle());
    SingleLineText::apply(m_subtitleField);
    Look::makeRounded(m_subtitleField);
    m_subtitleField->setAccessibleName(tr("Secondary text"));
    m_subtitleField->setPlaceholderText(tr("Shown under the event name"));
    secondary->addWidget(m_subtitleField);
    layout->addLayout(secondary);
    layout->addStretch();
    connect(m_subtitleField, &QLineEdit::textEdited, &m_viewModel, &TimerViewModel::setSubtitle);
}

bool EventPage::canContinue() const
{
    return !isBlank(m_viewModel.eventName());
}

void EventPage::refresh()
{
    Look::setTextKeepingCursor(m_nameField, m_viewModel.eventName());
    Look::setTextKeepingCursor(m_subtitleField, m_viewModel.subtitle());
    const bool focused = m_nameField->hasFocus();
    m_nameBox->setFocusBorder(focused);
    m_pencil->setPixmap(SymbolIcon::pixmap(QStringLiteral("pencil"),
        focused ? Look::accent(palette()) : Look::secondary(palette()), 16, devicePixelRatioF()));
}

bool EventPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_nameField
        && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        refresh();
    return GuidePage::eventFilter(watched, event);
}

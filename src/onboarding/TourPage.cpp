#include "onboarding/TourPage.h"

#include "ui/Look.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TourPage::TourPage(TimerViewModel &viewModel, QWidget *parent)
    : GuidePage(viewModel, parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(header(QStringLiteral("checkmark.circle"), tr("You're all set"),
        tr("Here's where everything lives.")));
    auto *rows = new QVBoxLayout;
    rows->setSpacing(16);
    const struct
    {
        const char *symbol;
        const char *title;
        const char *explanation;
    } entries[] = {
        {"clock.fill", QT_TR_NOOP("Click the countdown in the menu bar"),
            QT_TR_NOOP("Change the event name, date and time from the popover.")},
        {"moon.zzz", QT_TR_NOOP("Screensaver tab"),
            QT_TR_NOOP("Edit the tasks and idle options shown on the full-screen countdown.")},
        {"play.display", QT_TR_NOOP("Show Countdown"),
            QT_TR_NOOP("Opens the full-screen countdown right away.")},
        {"gearshape", QT_TR_NOOP("Settings"),
            QT_TR_NOOP("Edit quotes, turn launch at login on or off, or open this guide again.")},
    };
    for (const auto &entry : entries) {
        auto *row = new QHBoxLayout;
        row->setSpacing(12);
        auto *icon = symbolLabel(QString::fromLatin1(entry.symbol), 20, &Look::accent, this);
        icon->setFixedWidth(28);
        icon->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        row->addWidget(icon, 0, Qt::AlignTop);
        auto *texts = new QVBoxLayout;
        texts->setSpacing(2);
        auto *title = new QLabel(tr(entry.title), this);
        QFont bold = title->font();
        bold.setWeight(QFont::DemiBold);
        title->setFont(bold);
        texts->addWidget(title);
        texts->addWidget(wrappingLabel(tr(entry.explanation), this));
        row->addLayout(texts, 1);
        rows->addLayout(row);
    }
    layout->addLayout(rows);
    layout->addStretch();
}

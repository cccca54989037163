#include "onboarding/WelcomePage.h"

#include "ui/Look.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

WelcomePage::WelcomePage(TimerViewModel &viewModel, QWidget *parent)
    : GuidePage(viewModel, parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addStretch();
    QIcon icon(QStringLiteral(":/daystride/daystride.svg"));
    if (icon.isNull())
        icon = QApplication::windowIcon();
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("appIcon"));
    image->setFixedSize(96, 96);
    image->setPixmap(icon.pixmap(QSize(96, 96), devicePixelRatioF()));
    layout->addWidget(image, 0, Qt::AlignHCenter);
    auto *title = new QLabel(tr("Welcome to Daystride"), this);
    setAccessibleName(title->text());
    title->setObjectName(QStringLiteral("pageTitle"));
    title->setFont(Look::font(Look::TextStyle::largeTitle, QFont::DemiBold));
    // A large system font or a long translation takes a second line, not the end.
    title->setWordWrap(true);
    title->setAlignment(Qt::AlignHCenter);
    layout->addWidget(title);
    auto *text = wrappingLabel(tr("Keep a countdown to your next big day in the menu bar, and fill "
                                  "your screens with it when you step away."),
        this);
    text->setFont(Look::font(Look::TextStyle::title3));
    text->setAlignment(Qt::AlignHCenter);
    layout->addWidget(text);
    layout->addStretch();
}

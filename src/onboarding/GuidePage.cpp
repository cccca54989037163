#include "onboarding/GuidePage.h"

#include "ui/Accessibility.h"
#include "ui/Look.h"
#include "ui/SymbolIcon.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

GuidePage::GuidePage(TimerViewModel &viewModel, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
{
    // Named by its title, so a screen reader says which page the focus is on.
    Accessibility::setRole(this, QAccessible::Grouping);
}

QWidget *GuidePage::header(const QString &symbol, const QString &title, const QString &explanation)
{
    auto *header = new QWidget(this);
    auto *layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(symbolLabel(symbol, 28, &Look::accent, header));
    setAccessibleName(title);
    auto *heading = new QLabel(title, header);
    heading->setObjectName(QStringLiteral("pageTitle"));
    heading->setFont(Look::font(Look::TextStyle::title, QFont::DemiBold));
    // A large system font or a long translation takes a second line, not the end.
    heading->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(wrappingLabel(explanation, header));
    return header;
}

QWidget *GuidePage::optionRow(
    const QString &symbol, const QString &text, QWidget *control, QWidget *parent) const
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(10);
    auto *icon = symbolLabel(symbol, 16, &Look::accent, row);
    icon->setFixedWidth(20);
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    auto *label = new QLabel(text, row);
    label->setBuddy(control);
    layout->addWidget(label);
    layout->addStretch();
    control->setParent(row);
    if (control->accessibleName().isEmpty())
        control->setAccessibleName(text);
    layout->addWidget(control);
    return row;
}

QLabel *GuidePage::wrappingLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QLabel *GuidePage::symbolLabel(
    const QString &name, int size, SymbolIcon::Tint tint, QWidget *parent)
{
    auto *label = new QLabel(parent);
    SymbolIcon::show(label, name, size, std::move(tint));
    return label;
}

void GuidePage::changeEvent(QEvent *event)
{
    // Tints that depend on the focus as well as the palette.
    if (event->type() == QEvent::PaletteChange)
        refresh();
    QWidget::changeEvent(event);
}

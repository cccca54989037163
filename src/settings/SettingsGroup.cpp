#include "settings/SettingsGroup.h"

#include "ui/Look.h"
#include "ui/SymbolIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int rowPaddingX = 12;
constexpr int rowPaddingY = 6;
constexpr int rowMinimumHeight = 40;

} // namespace

SettingsGroup::SettingsGroup(QWidget *parent)
    : QWidget(parent)
    , m_rows(new QVBoxLayout(this))
{
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(0);
}

SettingsGroup *SettingsGroup::addSection(QWidget *form, const QString &title, const QString &footer)
{
    auto *layout = qobject_cast<QVBoxLayout *>(form->layout());
    Q_ASSERT(layout);

    auto *heading = new QLabel(title, form);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    heading->setContentsMargins(rowPaddingX, 0, rowPaddingX, 0);
    if (layout->count() > 0)
        layout->addSpacing(20);
    layout->addWidget(heading);
    layout->addSpacing(6);

    auto *group = new SettingsGroup(form);
    // The heading names the group for assistive technology.
    group->setAccessibleName(title);
    layout->addWidget(group);

    if (!footer.isEmpty()) {
        auto *note = new QLabel(footer, form);
        note->setWordWrap(true);
        note->setContentsMargins(rowPaddingX, 0, rowPaddingX, 0);
        note->setForegroundRole(QPalette::PlaceholderText);
        QFont small = note->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        note->setFont(small);
        layout->addSpacing(6);
        layout->addWidget(note);
    }
    return group;
}

QWidget *SettingsGroup::addRow(const QString &label, QWidget *control, bool expand)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    auto *text = new QLabel(label, row);
    text->setObjectName(QStringLiteral("rowLabel"));
    text->setBuddy(control);
    layout->addWidget(text, expand ? 0 : 1, Qt::AlignVCenter);
    if (expand) {
        layout->addWidget(control, 1, Qt::AlignVCenter);
        // Fields that take the rest of their rows start in one column, after the
        // widest of their labels.
        m_columnLabels << text;
        int widest = 0;
        for (QLabel *label : std::as_const(m_columnLabels))
            widest = std::max(widest, label->sizeHint().width());
        for (QLabel *label : std::as_const(m_columnLabels))
            label->setMinimumWidth(widest);
    } else
        layout->addWidget(control, 0, Qt::AlignVCenter | Qt::AlignRight);
    if (!label.isEmpty() && control->accessibleName().isEmpty())
        control->setAccessibleName(label);
    addRow(row);
    return row;
}

void SettingsGroup::addRow(QWidget *row)
{
    insertRow(m_rows->count(), row);
}

void SettingsGroup::insertRow(int index, QWidget *row)
{
    row->setContentsMargins(rowPaddingX, rowPaddingY, rowPaddingX, rowPaddingY);
    row->setMinimumHeight(rowMinimumHeight);
    m_rows->insertWidget(index, row);
    update();
}

void SettingsGroup::removeRow(QWidget *row)
{
    m_rows->removeWidget(row);
    row->hide();
    row->deleteLater();
    update();
}

QLabel *SettingsGroup::labelOf(QWidget *row)
{
    return row->findChild<QLabel *>(QStringLiteral("rowLabel"), Qt::FindDirectChildrenOnly);
}

void SettingsGroup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor separator = Look::separator(palette());

    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(box, 10, 10);
    painter.fillPath(shape, Look::quaternaryFill(palette()));
    painter.setPen(QPen(separator, 1));
    painter.drawPath(shape);

    // A hairline between each pair of neighbouring rows, inset like the text.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QWidget *previous = nullptr;
    for (int i = 0; i < m_rows->count(); ++i) {
        const QWidget *row = m_rows->itemAt(i)->widget();
        if (!row || row->isHidden())
            continue;
        if (previous) {
            const int y = row->geometry().top();
            painter.drawLine(rowPaddingX, y, width() - rowPaddingX, y);
        }
        previous = row;
    }
}

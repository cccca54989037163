#include "onboarding/StepDots.h"

#include "ui/Accessibility.h"
#include "ui/Look.h"

#include <QPainter>

namespace {
constexpr int diameter = 7;
constexpr int gap = 6;
} // namespace

StepDots::StepDots(int count, QWidget *parent)
    : QWidget(parent)
    , m_count(count)
{
    setFixedSize(count * diameter + (count - 1) * gap, diameter);
    Accessibility::setRole(this, QAccessible::StaticText);
    setCurrent(0);
}

void StepDots::setCurrent(int current)
{
    m_current = current;
    setAccessibleName(tr("Step %1 of %2").arg(current + 1).arg(m_count));
    update();
}

void StepDots::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < m_count; ++i) {
        painter.setBrush(
            i == m_current ? Look::accent(palette()) : Look::quaternaryFill(palette()));
        painter.drawEllipse(QRectF(i * (diameter + gap), 0, diameter, diameter));
    }
}

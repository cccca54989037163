#include "ui/LookStyle.h"

#include "ui/Look.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>

namespace {

const char shapeProperty[] = "daystrideLookShape";

using Shape = LookStyle::Shape;

struct Box
{
    // Border and padding: where the content starts, the same focused or not (the
    // wider focus border takes from the padding).
    QMargins inset;
    qreal leadingRadius = 0;
    qreal trailingRadius = 0;
};

Box boxOf(Shape shape)
{
    switch (shape) {
    case Shape::segmentFirst:
        return {QMargins(9, 4, 9, 4), 6, 0};
    case Shape::segmentMiddle:
        return {QMargins(9, 4, 9, 4), 0, 0};
    case Shape::segmentLast:
        return {QMargins(9, 4, 9, 4), 0, 6};
    case Shape::borderless:
        return {QMargins(4, 2, 4, 2), 6, 6};
    case Shape::checkRing:
        return {QMargins(2, 2, 2, 2), 10, 10};
    case Shape::prominent:
        return {QMargins(12, 6, 12, 6), 7, 7};
    case Shape::rounded:
        return {QMargins(9, 6, 9, 6), 6, 6};
    case Shape::capsule:
        return {QMargins(), 11, 11};
    case Shape::none:
        break;
    }
    return {};
}

bool isSegment(Shape shape)
{
    return shape == Shape::segmentFirst || shape == Shape::segmentMiddle
        || shape == Shape::segmentLast;
}

// A rectangle whose two left corners take one radius and the two right ones another.
QPainterPath outline(const QRectF &rect, qreal left, qreal right)
{
    const qreal most = std::min(rect.width(), rect.height()) / 2;
    left = std::clamp<qreal>(left, 0, most);
    right = std::clamp<qreal>(right, 0, most);
    QPainterPath path;
    path.moveTo(rect.left() + left, rect.top());
    path.lineTo(rect.right() - right, rect.top());
    path.arcTo(QRectF(rect.right() - 2 * right, rect.top(), 2 * right, 2 * right), 90, -90);
    path.lineTo(rect.right(), rect.bottom() - right);
    path.arcTo(
        QRectF(rect.right() - 2 * right, rect.bottom() - 2 * right, 2 * right, 2 * right), 0, -90);
    path.lineTo(rect.left() + left, rect.bottom());
    path.arcTo(QRectF(rect.left(), rect.bottom() - 2 * left, 2 * left, 2 * left), 270, -90);
    path.lineTo(rect.left(), rect.top() + left);
    path.arcTo(QRectF(rect.left(), rect.top(), 2 * left, 2 * left), 180, -90);
    path.closeSubpath();
    return path;
}

struct Panel
{
    QColor fill = Qt::transparent;
    QColor border = Qt::transparent;
    int borderWidth = 0;
};

// The enabled colours: the state picks among them.
QPalette activePalette(const QStyleOption *option)
{
    QPalette palette = option->palette;
    palette.setCurrentColorGroup(QPalette::Active);
    return palette;
}

// The colours of one state, as the desktop's theme has them now.
Panel panelOf(Shape shape, const QStyleOption *option)
{
    const QPalette palette = activePalette(option);
    const QStyle::State state = option->state;
    const bool enabled = state & QStyle::State_Enabled;
    const bool focus = enabled && (state & QStyle::State_HasFocus);
    Panel panel;
    if (focus) {
        panel.border = Look::accent(palette);
        panel.borderWidth = 2;
    }
    switch (shape) {
    case Shape::segmentFirst:
    case Shape::segmentMiddle:
    case Shape::segmentLast:
        panel.fill = state & QStyle::State_On ? palette.color(QPalette::Base)
                                              : Look::quaternaryFill(palette);
        if (!focus) {
            panel.border = Look::separator(palette);
            panel.borderWidth = 1;
        }
        break;
    case Shape::borderless:
        if (enabled && (state & QStyle::State_Sunken))
            panel.fill = Look::separator(palette);
        else if (enabled && (state & QStyle::State_MouseOver))
            panel.fill = Look::quaternaryFill(palette);
        break;
    case Shape::checkRing:
        break;
    case Shape::prominent:
        panel.fill = enabled ? palette.color(QPalette::Highlight) : Look::quaternaryFill(palette);
        // Around the fill, a ring in a deeper shade of it.
        if (focus) {
            panel.border = Look::mix(
                palette.color(QPalette::Highlight), palette.color(QPalette::WindowText), 0.45);
        }
        break;
    case Shape::rounded:
        panel.fill = palette.color(QPalette::Base);
        if (!focus) {
            panel.border = Look::mix(
                palette.color(QPalette::Window), palette.color(QPalette::WindowText), 0.3);
            panel.borderWidth = 1;
        }
        break;
    case Shape::capsule:
        panel.fill = Look::quaternaryFill(palette);
        break;
    case Shape::none:
        break;
    }
    return panel;
}

void paintPanel(QPainter *painter, const QStyleOption *option, Shape shape)
{
    const Box box = boxOf(shape);
    const Panel panel = panelOf(shape, option);
    // The first segment is the leading one: on the right in a right-to-left layout.
    const bool rtl = option->direction == Qt::RightToLeft;
    const qreal left = rtl ? box.trailingRadius : box.leadingRadius;
    const qreal right = rtl ? box.leadingRadius : box.trailingRadius;
    const QRectF rect = option->rect;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (panel.fill.alpha() > 0) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(panel.fill);
        painter->drawPath(outline(rect, left, right));
    }
    if (panel.borderWidth > 0 && panel.border.alpha() > 0) {
        const qreal half = panel.borderWidth / 2.0;
        painter->setPen(QPen(panel.border, panel.borderWidth));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(outline(rect.adjusted(half, half, -half, -half),
            std::max<qreal>(0, left - half), std::max<qreal>(0, right - half)));
    }
    painter->restore();
}

} // namespace

void LookStyle::apply(QWidget *widget, Shape shape)
{
    // One for the whole program, gone with the application.
    static QPointer<LookStyle> style;
    if (!style) {
        style = new LookStyle;
        style->setParent(qApp);
    }
    widget->setProperty(shapeProperty, int(shape));
    widget->setAttribute(Qt::WA_Hover);
    widget->setStyle(style);
    if (shape == Shape::prominent) {
        // Only the weight: size and family still follow the window's font.
        QFont font;
        font.setWeight(QFont::DemiBold);
        widget->setFont(font);
    }
}

LookStyle::Shape LookStyle::shapeOf(const QWidget *widget)
{
    if (!widget)
        return Shape::none;
    const QVariant shape = widget->property(shapeProperty);
    return shape.isValid() ? Shape(shape.toInt()) : Shape::none;
}

void LookStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
    QPainter *painter, const QWidget *widget) const
{
    const Shape shape = shapeOf(widget);
    if (shape != Shape::none) {
        switch (element) {
        case PE_PanelLineEdit:
            if (shape == Shape::rounded)
                paintPanel(painter, option, shape);
            return;
        case PE_FrameLineEdit:
        case PE_FrameFocusRect:
            // The border shows the focus.
            return;
        default:
            break;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void LookStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
    const QWidget *widget) const
{
    const Shape shape = shapeOf(widget);
    if (element == CE_PushButton && shape == Shape::prominent) {
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option)) {
            paintPanel(painter, option, shape);
            QStyleOptionButton label = *button;
            label.rect = option->rect.marginsRemoved(boxOf(shape).inset);
            label.state &= ~(State_Sunken | State_On | State_HasFocus);
            // The colour below tells disabled; no style should etch the text as well.
            label.state |= State_Enabled;
            const QPalette palette = activePalette(option);
            label.palette.setColor(QPalette::ButtonText,
                option->state & State_Enabled ? palette.color(QPalette::HighlightedText)
                                              : Look::secondary(palette));
            QProxyStyle::drawControl(CE_PushButtonLabel, &label, painter, widget);
            return;
        }
    }
    if (element == CE_ShapedFrame && shape == Shape::capsule) {
        paintPanel(painter, option, shape);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void LookStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
    QPainter *painter, const QWidget *widget) const
{
    const Shape shape = shapeOf(widget);
    if (control == CC_ToolButton && shape != Shape::none) {
        if (const auto *button = qstyleoption_cast<const QStyleOptionToolButton *>(option)) {
            paintPanel(painter, option, shape);
            QStyleOptionToolButton label = *button;
            label.rect = option->rect.marginsRemoved(boxOf(shape).inset);
            // The panel shows pressed and checked; the label stays where it is.
            label.state &= ~(State_Sunken | State_On);
            if (isSegment(shape) && (option->state & State_On))
                label.font.setWeight(QFont::DemiBold);
            QProxyStyle::drawControl(CE_ToolButtonLabel, &label, painter, widget);
            return;
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

QSize LookStyle::sizeFromContents(ContentsType type, const QStyleOption *option,
    const QSize &contentsSize, const QWidget *widget) const
{
    const Shape shape = shapeOf(widget);
    if (shape != Shape::none
        && (type == CT_ToolButton || type == CT_PushButton || type == CT_LineEdit)) {
        QSize size = contentsSize.grownBy(boxOf(shape).inset);
        // Tool buttons keep a little room around their content, as they always had
        // here: layouts and fitted widths count on it.
        if (type == CT_ToolButton)
            size += QSize(3, 3);
        return size;
    }
    return QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
}

QRect LookStyle::subElementRect(
    SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    const Shape shape = shapeOf(widget);
    if (element == SE_LineEditContents && shape == Shape::rounded)
        return option->rect.marginsRemoved(boxOf(shape).inset);
    return QProxyStyle::subElementRect(element, option, widget);
}

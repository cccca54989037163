#pragma once

#include <QProxyStyle>

class QWidget;

// Draws the program's own buttons and fields over the desktop's style: the segments
// of a tab switch, borderless and check buttons, the prominent button, rounded
// fields and the capsule of the panel preview. Colours come from the palette at
// paint time, so they follow a change of the light or dark theme by themselves.
// Style sheets did this before; they cost each window about half a megabyte (their
// parser, rules and style), more than the popover's own widgets.
class LookStyle : public QProxyStyle
{
    Q_OBJECT

public:
    enum class Shape {
        none,
        segmentFirst,
        segmentMiddle,
        segmentLast,
        borderless,
        checkRing,
        prominent,
        rounded,
        capsule,
    };

    // Gives the widget the shape and this style (one for the whole program).
    static void apply(QWidget *widget, Shape shape);
    static Shape shapeOf(const QWidget *widget);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
        QPainter *painter, const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
        const QWidget *widget = nullptr) const override;
    QRect subElementRect(
        SubElement element, const QStyleOption *option, const QWidget *widget) const override;

private:
    LookStyle() = default;
};

#include "ui/Look.h"

#include "ui/Accessibility.h"
#include "ui/LookStyle.h"
#include "ui/SymbolIcon.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QToolButton>

#include <cmath>

namespace {

QColor withAlpha(QColor color, float alpha)
{
    color.setAlphaF(alpha);
    return color;
}

class Divider : public QWidget
{
public:
    Divider(int indent, QWidget *parent)
        : QWidget(parent)
        , m_indent(indent)
    {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const bool rtl = layoutDirection() == Qt::RightToLeft;
        painter.fillRect(
            QRect(rtl ? 0 : m_indent, 0, width() - m_indent, 1), Look::separator(palette()));
    }

private:
    int m_indent;
};

} // namespace

QColor Look::accent(const QPalette &palette)
{
    const QColor highlight = palette.color(QPalette::Highlight);
    const QColor window = palette.color(QPalette::Window);
    const QColor text = palette.color(QPalette::WindowText);
    // Symbols, outlines and focus rings need 3:1 against the window.
    QColor accent = highlight;
    for (qreal amount = 0.1; contrast(accent, window) < 3 && amount < 0.95; amount += 0.1)
        accent = mix(highlight, text, amount);
    return accent;
}

QColor Look::secondary(const QPalette &palette)
{
    return mix(palette.color(QPalette::WindowText), palette.color(QPalette::Window), 0.5);
}

QColor Look::mix(const QColor &from, const QColor &to, qreal amount)
{
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * amount),
        float(a.greenF() + (b.greenF() - a.greenF()) * amount),
        float(a.blueF() + (b.blueF() - a.blueF()) * amount));
}

qreal Look::luminance(const QColor &color)
{
    auto linear = [](float channel) {
        return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
        + 0.0722 * linear(rgb.blueF());
}

qreal Look::contrast(const QColor &a, const QColor &b)
{
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Look::quaternaryFill(const QPalette &palette)
{
    return withAlpha(palette.color(QPalette::WindowText), 0.10f);
}

QColor Look::separator(const QPalette &palette)
{
    return withAlpha(palette.color(QPalette::WindowText), 0.15f);
}

QFont Look::font(TextStyle style, int weight)
{
    QFont font = QApplication::font();
    const qreal body = font.pointSizeF() > 0 ? font.pointSizeF() : 10;
    // The usual ratios to a 13-point body text.
    qreal ratio = 1;
    switch (style) {
    case TextStyle::body:
        break;
    case TextStyle::largeTitle:
        ratio = 26.0 / 13;
        break;
    case TextStyle::title3:
        ratio = 15.0 / 13;
        break;
    case TextStyle::title:
        ratio = 22.0 / 13;
        break;
    case TextStyle::title2:
        ratio = 17.0 / 13;
        break;
    case TextStyle::caption:
        ratio = 10.0 / 13;
        break;
    case TextStyle::caption2:
        ratio = 10.0 / 13;
        break;
    }
    font.setPointSizeF(body * ratio);
    font.setWeight(QFont::Weight(weight));
    return font;
}

QFont Look::roundedNumberFont(qreal pointSize, int weight)
{
    QFont font = QApplication::font();
    if (QFontDatabase::families().contains(QStringLiteral("Quicksand")))
        font.setFamily(QStringLiteral("Quicksand"));
    // Sizes are given in device-independent pixels, as points are elsewhere.
    font.setPixelSize(qRound(pointSize));
    font.setWeight(QFont::Weight(weight));
    return font;
}

QLabel *Look::caption(const QString &text, QWidget *parent)
{
    auto *label = secondaryLabel(text, TextStyle::caption2, parent);
    QFont font = label->font();
    font.setWeight(QFont::DemiBold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    label->setFont(font);
    return label;
}

QLabel *Look::secondaryLabel(const QString &text, TextStyle style, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font(style));
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QWidget *Look::divider(QWidget *parent, int indent)
{
    return new Divider(indent, parent);
}

QToolButton *Look::segment(const QString &text, Segment position, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    // Before anything is announced: the first announcement fixes the interface.
    Accessibility::setRole(button, QAccessible::PageTab);
    button->setText(text);
    button->setCheckable(true);
    button->setAutoExclusive(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    LookStyle::apply(button,
        position == Segment::first      ? LookStyle::Shape::segmentFirst
            : position == Segment::last ? LookStyle::Shape::segmentLast
                                        : LookStyle::Shape::segmentMiddle);
    return button;
}

QToolButton *Look::plainButton(const QString &symbol, const QString &text, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setAutoRaise(true);
    SymbolIcon::show(button, symbol, 16,
        [](const QPalette &palette) { return palette.color(QPalette::ButtonText); });
    button->setIconSize(QSize(16, 16));
    button->setFocusPolicy(Qt::StrongFocus);
    makeBorderless(button);
    if (!text.isEmpty()) {
        button->setText(text);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    return button;
}

void Look::makeBorderless(QToolButton *button)
{
    button->setAutoRaise(true);
    LookStyle::apply(button, LookStyle::Shape::borderless);
}

QToolButton *Look::checkSymbol(QWidget *parent)
{
    auto *button = new QToolButton(parent);
    // Before anything is announced: the first announcement fixes the interface.
    Accessibility::setRole(button, QAccessible::CheckBox);
    button->setCheckable(true);
    button->setAutoRaise(true);
    // Reached by Tab; a click leaves the focus where the user types.
    button->setFocusPolicy(Qt::TabFocus);
    button->setFixedSize(20, 20);
    button->setIconSize(QSize(16, 16));
    LookStyle::apply(button, LookStyle::Shape::checkRing);
    return button;
}

void Look::makeProminent(QPushButton *button)
{
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setMinimumHeight(30);
    LookStyle::apply(button, LookStyle::Shape::prominent);
}

void Look::makePlain(QLineEdit *field)
{
    field->setFrame(false);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    field->setPalette(palette);
    field->setAutoFillBackground(false);
}

void Look::makeRounded(QLineEdit *field)
{
    LookStyle::apply(field, LookStyle::Shape::rounded);
}

void Look::setTextKeepingCursor(QLineEdit *field, const QString &text)
{
    if (field->text() == text)
        return;
    const int cursor = field->cursorPosition();
    const QSignalBlocker block(field);
    field->setText(text);
    field->setCursorPosition(std::min<int>(cursor, int(text.size())));
}

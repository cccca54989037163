#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QLineEdit;
class QPalette;
class QPushButton;
class QToolButton;
class QWidget;

// The shared looks: colours from the palette, text styles, captions, dividers and
// plain buttons, so the popover, the Settings window and the guide look alike and
// follow the desktop's light or dark theme.
class Look
{
public:
    // The highlight colour, lightened or darkened where it would not stand out from
    // the window (a dark blue on a dark grey).
    static QColor accent(const QPalette &palette);
    // The text colour half-way to the background: dimmed in light and dark alike.
    static QColor secondary(const QPalette &palette);
    // The text colour at about 10 % and 15 %.
    static QColor quaternaryFill(const QPalette &palette);
    static QColor separator(const QPalette &palette);
    // `from` moved towards `to` by `amount` (0 to 1), opaque.
    static QColor mix(const QColor &from, const QColor &to, qreal amount);
    // Relative luminance, 0 for black to 1 for white.
    static qreal luminance(const QColor &color);
    // The contrast ratio of two colours, 1 to 21.
    static qreal contrast(const QColor &a, const QColor &b);

    // Sizes relative to the desktop's body text, as the usual text styles are.
    enum class TextStyle { body, largeTitle, title, title2, title3, caption, caption2 };
    static QFont font(TextStyle style, int weight = QFont::Normal);
    // Digits of one width in a rounded typeface where there is one.
    static QFont roundedNumberFont(qreal pointSize, int weight = QFont::Normal);

    // Small semibold capitals with a little letter spacing, in the secondary colour.
    static QLabel *caption(const QString &text, QWidget *parent);
    static QLabel *secondaryLabel(const QString &text, TextStyle style, QWidget *parent);
    // A hairline, indented from the leading edge.
    static QWidget *divider(QWidget *parent, int indent = 0);

    enum class Segment { first, middle, last };
    // One segment of a segmented switch of tabs; checkable.
    static QToolButton *segment(const QString &text, Segment position, QWidget *parent);
    // A borderless button with a symbol and, unless empty, a text beside it.
    static QToolButton *plainButton(const QString &symbol, const QString &text, QWidget *parent);
    // A borderless button's own look: a light fill under the pointer, a ring in the
    // accent colour while it has the keyboard focus.
    static void makeBorderless(QToolButton *button);
    // A round check drawn by its symbol alone, with a ring in the accent colour
    // while it has the keyboard focus; announced as a check box.
    static QToolButton *checkSymbol(QWidget *parent);
    // A full-width button filled with the accent colour.
    static void makeProminent(QPushButton *button);
    // A text field without a frame or background of its own.
    static void makePlain(QLineEdit *field);
    // A bordered text field rounded and padded like the groups around it, its
    // border in the accent colour while it has the focus.
    static void makeRounded(QLineEdit *field);

    // Shows a value that changed elsewhere without moving the cursor and without
    // reporting it as an edit.
    static void setTextKeepingCursor(QLineEdit *field, const QString &text);
};

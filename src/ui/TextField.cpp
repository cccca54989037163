#include "ui/TextField.h"

#include <algorithm>

TextField::TextField(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &QWidget::updateGeometry);
}

QSize TextField::sizeHint() const
{
    QSize hint = QLineEdit::sizeHint();
    // QLineEdit's own hint has room for 17 "x"; the text cursor takes a pixel after
    // the text. Up to three times that: room for any of the texts a translation or a
    // large font makes longer, while a sentence the user keeps typing scrolls in the
    // field as usual instead of pushing the window to the edge of the screen.
    const QFontMetrics metrics = fontMetrics();
    const int usual = metrics.horizontalAdvance(QLatin1Char('x')) * 17;
    const int wanted
        = std::max(metrics.horizontalAdvance(text()), metrics.horizontalAdvance(placeholderText()))
        + 1;
    hint.rwidth() += std::clamp(wanted - usual, 0, 2 * usual);
    return hint;
}

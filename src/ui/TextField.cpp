#include "ui/TextField.h"

TextField::TextField(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &QWidget::updateGeometry);
}

QSize TextField::sizeHint() const
{
    QSize hint = QLineEdit::sizeHint();
    // QLineEdit's own hint has room for 17 "x"; the text cursor takes a pixel after
    // the text.
    const QFontMetrics metrics = fontMetrics();
    const int usual = metrics.horizontalAdvance(QLatin1Char('x')) * 17;
    const int wanted
        = std::max(metrics.horizontalAdvance(text()), metrics.horizontalAdvance(placeholderText()))
        + 1;
    hint.rwidth() += std::max(0, wanted - usual);
    return hint;
}

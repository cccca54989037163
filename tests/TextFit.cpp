#include "TextFit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace TextFit {

namespace {
// The width a line edit lays its text out in: its style's contents rectangle
// without its text margins and the 2 pixels QLineEdit keeps clear on either side.
int textWidth(const QLineEdit *field)
{
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->rect();
    option.lineWidth = field->hasFrame()
        ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field)
        : 0;
    option.state |= QStyle::State_Sunken;
    const QMargins margins = field->textMargins();
    return field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field).width()
        - margins.left() - margins.right() - 2 * 2;
}
} // namespace

QStringList cut(const QWidget *root)
{
    QStringList texts;
    for (const auto *label : root->findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const bool fits = label->wordWrap()
            ? label->heightForWidth(label->width()) <= label->height()
            : label->fontMetrics().horizontalAdvance(label->text().trimmed())
                <= label->contentsRect().width();
        if (!fits)
            texts << label->text();
    }
    for (const auto *button : root->findChildren<QAbstractButton *>()) {
        if (button->isVisible() && !button->text().isEmpty()
            && button->sizeHint().width() > button->width())
            texts << button->text();
    }
    for (const auto *field : root->findChildren<QLineEdit *>()) {
        if (field->isVisible() && !field->text().isEmpty()
            && field->fontMetrics().horizontalAdvance(field->text()) > textWidth(field))
            texts << field->text();
    }
    return texts;
}

ApplicationFont::ApplicationFont(qreal points)
    : m_before(QApplication::font())
{
    if (points <= 0)
        return;
    QFont font = m_before;
    font.setPointSizeF(points);
    QApplication::setFont(font);
}

ApplicationFont::~ApplicationFont()
{
    QApplication::setFont(m_before);
}

} // namespace TextFit

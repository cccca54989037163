#include "TextFit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>

namespace TextFit {

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

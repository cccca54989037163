#include "TextFit.h"

#include <QAbstractButton>
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

} // namespace TextFit

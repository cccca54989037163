#include "ui/SingleLineText.h"

#include <QLineEdit>

#include <algorithm>

namespace {

bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case '\n':
    case '\v':
    case '\f':
    case '\r':
    case 0x85:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

} // namespace

SingleLineText::SingleLineText(QLineEdit *field)
    : QValidator(field)
    , m_field(field)
    , m_before(field->text())
{
}

void SingleLineText::apply(QLineEdit *field)
{
    field->setValidator(new SingleLineText(field));
}

QString SingleLineText::folded(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isLineBreak(text[i])) {
            result += text[i];
            continue;
        }
        result += QLatin1Char(' ');
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    return result;
}

QValidator::State SingleLineText::validate(QString &input, int &pos) const
{
    // Setting the text from the program leaves the field unmodified; so does the
    // replacement below, which comes back here once more.
    if (!m_field->isModified()) {
        m_before = input;
        return Acceptable;
    }
    // What the user entered lies between the parts that stayed the same.
    const qsizetype shorter = std::min(input.size(), m_before.size());
    qsizetype head = 0;
    while (head < shorter && input[head] == m_before[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head
        && input[input.size() - 1 - tail] == m_before[m_before.size() - 1 - tail])
        ++tail;
    const qsizetype end = input.size() - tail;
    const QString entered = input.mid(head, end - head);
    const QString kept = folded(entered);
    if (kept != entered) {
        if (pos >= end)
            pos += int(kept.size() - entered.size());
        else if (pos > head)
            pos = int(head + folded(input.mid(head, pos - head)).size());
        input = input.left(head) + kept + input.mid(end);
    }
    m_before = input;
    return Acceptable;
}

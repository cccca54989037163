#pragma once

#include <QValidator>

class QLineEdit;

// Keeps a one-line text field on one line: each line break the user enters, by
// pasting, dropping or through an input method, becomes one space as it is
// entered. Text the program sets, such as a stored value, is shown as it is, line
// breaks included, and the user's edits elsewhere in it leave those alone.
class SingleLineText : public QValidator
{
    Q_OBJECT

public:
    // Puts one on `field`, which owns it.
    static void apply(QLineEdit *field);
    // `text` with each line break (CR LF counts as one) replaced by one space.
    static QString folded(const QString &text);

    State validate(QString &input, int &pos) const override;

private:
    explicit SingleLineText(QLineEdit *field);

    QLineEdit *m_field;
    // The text as it stood before the change being validated.
    mutable QString m_before;
};

#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;
class TimerViewModel;

// One row of the Quotes section, bound to the quote at a fixed position: the quote's
// text and a button that deletes it. The binding is guarded: once the position is
// past the end of the list (a row that has not been taken down yet) the row reads
// the empty text and writes nothing.
class QuoteRow : public QWidget
{
    Q_OBJECT

public:
    QuoteRow(TimerViewModel &viewModel, qsizetype position, QWidget *parent = nullptr);

    qsizetype position() const { return m_position; }
    QLineEdit *textField() const { return m_text; }
    QToolButton *deleteButton() const { return m_delete; }

    // The guarded binding.
    QString quote() const;
    void setQuote(const QString &text);

    // Shows the model's quote at this position.
    void refresh();

private:
    void deleteQuote();

    TimerViewModel &m_viewModel;
    const qsizetype m_position;
    QLineEdit *m_text = nullptr;
    QToolButton *m_delete = nullptr;
};

#include "settings/QuoteRow.h"

#include "model/TimerViewModel.h"
#include "ui/Look.h"
#include "ui/SingleLineText.h"
#include "ui/SymbolIcon.h"
#include "ui/TextField.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

QuoteRow::QuoteRow(TimerViewModel &viewModel, qsizetype position, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
    , m_position(position)
    , m_text(new TextField(this))
    , m_delete(new QToolButton(this))
{
    m_text->setAccessibleName(
        tr("Quote %lld").replace(QStringLiteral("%lld"), QString::number(position + 1)));
    m_text->setPlaceholderText(tr("Type a quote"));
    SingleLineText::apply(m_text);
    Look::makeRounded(m_text);

    Look::makeBorderless(m_delete);
    m_delete->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // A tool button takes the focus only by Tab; keyboard users must reach it.
    m_delete->setFocusPolicy(Qt::StrongFocus);
    // The palette's own secondary colour: the button's style sheet makes its window
    // colour transparent, so one mixed from it would come out black.
    SymbolIcon::show(m_delete, QStringLiteral("minus.circle.fill"), 16,
        [](const QPalette &palette) { return palette.color(QPalette::PlaceholderText); });
    m_delete->setIconSize(QSize(16, 16));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text, 1, Qt::AlignVCenter);
    layout->addWidget(m_delete, 0, Qt::AlignVCenter);

    connect(m_text, &QLineEdit::textEdited, this, &QuoteRow::setQuote);
    connect(m_delete, &QToolButton::clicked, this, &QuoteRow::deleteQuote);
    refresh();
}

QString QuoteRow::quote() const
{
    const QStringList &quotes = m_viewModel.quotes();
    return m_position >= 0 && m_position < quotes.size() ? quotes[m_position] : QString();
}

void QuoteRow::setQuote(const QString &text)
{
    QStringList quotes = m_viewModel.quotes();
    if (m_position < 0 || m_position >= quotes.size())
        return;
    quotes[m_position] = text;
    m_viewModel.setQuotes(quotes);
}

void QuoteRow::refresh()
{
    Look::setTextKeepingCursor(m_text, quote());
    // Says which: fourteen buttons called "Delete Quote" do not. The tooltip says the
    // same, so a screen reader has no second, vaguer text to read after it; a long
    // quote is cut after its first words there, having been read in its own field.
    QString text = quote().simplified();
    if (text.size() > 40)
        text = text.left(40).trimmed() + QStringLiteral("…");
    const QString name = text.isEmpty() ? tr("Delete quote %1").arg(m_position + 1)
                                        : tr("Delete quote %1: “%2”").arg(m_position + 1).arg(text);
    m_delete->setAccessibleName(name);
    m_delete->setToolTip(name);
}

void QuoteRow::deleteQuote()
{
    QStringList quotes = m_viewModel.quotes();
    if (m_position < 0 || m_position >= quotes.size())
        return;
    quotes.removeAt(m_position);
    m_viewModel.setQuotes(quotes);
}

#include "StorageNotice.h"

#include "model/TimerViewModel.h"

StorageNotice::StorageNotice(const TimerViewModel &viewModel, Shows shows, QWidget *parent)
    : QLabel(parent)
    , m_viewModel(viewModel)
    , m_shows(shows)
{
    setObjectName(QStringLiteral("storageNotice"));
    setTextFormat(Qt::PlainText); // paths may hold anything
    setWordWrap(true);
    setContentsMargins(12, 6, 12, 6);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(&viewModel, &TimerViewModel::storageNoticesChanged, this, &StorageNotice::refresh);
    refresh();
}

void StorageNotice::refresh()
{
    QStringList lines;
    if (!m_viewModel.saveProblem().isEmpty())
        lines << m_viewModel.saveProblem();
    if (m_shows == Shows::saveProblemAndDamagedFile && !m_viewModel.damagedFileNotice().isEmpty())
        lines << m_viewModel.damagedFileNotice();
    setText(lines.join(QLatin1Char('\n')));
    setVisible(!lines.isEmpty());
}

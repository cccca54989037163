#include "menubar/TimerView.h"

TimerView::TimerView(TimerViewModel &viewModel, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
{
    setMinimumHeight(300);
}

void TimerView::appear() { }

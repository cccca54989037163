#pragma once

#include "onboarding/GuidePage.h"

// The guide's last page: where each part of the program lives.
class TourPage : public GuidePage
{
    Q_OBJECT

public:
    TourPage(TimerViewModel &viewModel, QWidget *parent);
};

#pragma once

#include "onboarding/GuidePage.h"

// The guide's first page: the program's icon, its name and what it does.
class WelcomePage : public GuidePage
{
    Q_OBJECT

public:
    WelcomePage(TimerViewModel &viewModel, QWidget *parent);
};

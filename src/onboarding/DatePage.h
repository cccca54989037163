#pragma once

#include "onboarding/GuidePage.h"

class QCalendarWidget;
class QDate;
class QLabel;
class QTimeEdit;

// The guide's third page: the event's day and time, with the panel text as it
// will read, or a warning while the chosen moment is not in the future.
class DatePage : public GuidePage
{
    Q_OBJECT

public:
    DatePage(TimerViewModel &viewModel, QWidget *parent);

    void refresh() override;
    bool canContinue() const override;

    QCalendarWidget *calendar() const { return m_calendar; }
    QTimeEdit *timeField() const { return m_time; }
    QLabel *menuBarPreview() const { return m_preview; }
    QWidget *menuBarPreviewCapsule() const { return m_previewCapsule; }
    QWidget *pastWarning() const { return m_warningRow; }

private:
    void pickDay(QDate day);

    QCalendarWidget *m_calendar = nullptr;
    QTimeEdit *m_time = nullptr;
    QLabel *m_preview = nullptr;
    QWidget *m_previewCapsule = nullptr;
    QWidget *m_warningRow = nullptr;
};

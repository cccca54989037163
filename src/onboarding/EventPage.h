#pragma once

#include "onboarding/GuidePage.h"

class QLabel;
class QLineEdit;
class RoundedBox;

// The guide's second page: the event's name, which must not be blank to go on,
// and the optional secondary text.
class EventPage : public GuidePage
{
    Q_OBJECT

public:
    EventPage(TimerViewModel &viewModel, QWidget *parent);

    void refresh() override;
    bool canContinue() const override;

    QLineEdit *nameField() const { return m_nameField; }
    RoundedBox *nameBox() const { return m_nameBox; }
    QLineEdit *subtitleField() const { return m_subtitleField; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    RoundedBox *m_nameBox = nullptr;
    QLineEdit *m_nameField = nullptr;
    QLabel *m_pencil = nullptr;
    QLineEdit *m_subtitleField = nullptr;
};

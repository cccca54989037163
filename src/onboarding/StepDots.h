#pragma once

#include <QWidget>

// One dot per step of the guide; only the current step's is in the accent colour.
class StepDots : public QWidget
{
    Q_OBJECT

public:
    StepDots(int count, QWidget *parent = nullptr);

    int current() const { return m_current; }
    void setCurrent(int current);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_count;
    int m_current = 0;
};

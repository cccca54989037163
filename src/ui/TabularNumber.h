#pragma once

#include <QLabel>

// A label for a number whose digits all take the width of the widest one, so a
// ticking count does not shift as its digits change: for typefaces without tabular
// figures (Quicksand's "1" is half as wide as its "4"). Each digit is centred in its
// cell; any other character keeps its own advance.
class TabularNumber : public QLabel
{
    Q_OBJECT

public:
    explicit TabularNumber(const QString &text, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal digitCell() const;
    qreal textWidth() const;
};

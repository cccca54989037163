#pragma once

#include <QLineEdit>

// A one-line text field that asks its layout for room for its whole text and its
// placeholder (up to three times the usual width), and for the usual width where they
// are short: a long translation or a large font widens the window instead of cutting
// the text.
class TextField : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextField(QWidget *parent = nullptr);

    QSize sizeHint() const override;
};

#pragma once

#include <QLabel>

class Platform;

// One line beside "Show when idle", shown only while no source tells the idle time:
// the countdown then appears only when asked for.
class IdleNotice : public QLabel
{
    Q_OBJECT

public:
    explicit IdleNotice(Platform &platform, QWidget *parent = nullptr);
};

#pragma once

#include "model/Countdown.h"

#include <QCoreApplication>
#include <QString>

// Units of time in the form their number needs: "1 day", "2 days". English, the
// source language, picks its form here; a translation picks its own among the plural
// forms of its language (Qt's %n handling: French "0 jour", German "1 Tag").
class Units
{
    Q_DECLARE_TR_FUNCTIONS(Units)

public:
    enum Unit { days, hours, minutes, seconds };

    // The label shown under a number: "day"/"days", "min"/"mins".
    static QString label(Unit unit, qint64 count);
    // The number with its unit in full, as it is spoken: "1 minute", "5 minutes".
    static QString spoken(Unit unit, qint64 count);
    // Time left to the minute, as it is spoken: "3 days, 4 hours, 12 minutes".
    static QString timeLeft(const TimeRemaining &left);
    // The event and the time left: "Launch: 3 days, 4 hours, 12 minutes left".
    static QString untilEvent(const QString &eventName, const TimeRemaining &left);
};

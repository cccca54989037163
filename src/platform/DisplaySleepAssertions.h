#pragma once

#include <QDBusConnection>
#include <QMap>
#include <QString>

// Who keeps the display awake: name -> level, built from the desktop session's idle
// inhibitors ("PreventUserIdleDisplaySleep") and systemd-logind's idle blocks
// ("NoDisplaySleepAssertion"). A service that is absent, does not answer in time or
// fails leaves its key out.
class DisplaySleepAssertions
{
public:
    DisplaySleepAssertions(const QDBusConnection &sessionBus, const QDBusConnection &systemBus);

    QMap<QString, qint64> query();

private:
    enum class Answer { Absent, Failed, No, Yes };
    Answer sessionInhibitor();
    Answer logindIdleBlock();

    QDBusConnection m_sessionBus;
    QDBusConnection m_systemBus;
};

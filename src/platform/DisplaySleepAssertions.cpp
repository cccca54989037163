#include "DisplaySleepAssertions.h"

#include "DBusQuery.h"

#include <QDBusArgument>
#include <QStringList>

namespace {
// The idle flag of the session manager's inhibitor flags.
constexpr uint inhibitIdle = 8;

// One entry of logind's inhibitor list: (what, who, why, mode, uid, pid).
struct Inhibitor
{
    QString what;
    QString who;
    QString why;
    QString mode;
    uint uid = 0;
    uint pid = 0;
};

const QDBusArgument &operator>>(const QDBusArgument &argument, Inhibitor &inhibitor)
{
    argument.beginStructure();
    argument >> inhibitor.what >> inhibitor.who >> inhibitor.why >> inhibitor.mode >> inhibitor.uid
        >> inhibitor.pid;
    argument.endStructure();
    return argument;
}

// The boolean answer of a query, or what went wrong.
template<typename Answer> Answer boolAnswer(DBusQuery &query)
{
    switch (query.run(QStringLiteral("b"))) {
    case DBusQuery::Outcome::Answered:
        return query.arguments().value(0).toBool() ? Answer::Yes : Answer::No;
    case DBusQuery::Outcome::Absent:
        return Answer::Absent;
    case DBusQuery::Outcome::Failed:
        break;
    }
    return Answer::Failed;
}
} // namespace

DisplaySleepAssertions::DisplaySleepAssertions(
    const QDBusConnection &sessionBus, const QDBusConnection &systemBus)
    : m_sessionBus(sessionBus)
    , m_systemBus(systemBus)
{
}

QMap<QString, qint64> DisplaySleepAssertions::query()
{
    // A source that fails says nothing, so it cannot hide another's hold.
    QMap<QString, qint64> assertions;
    const auto add = [&](const QString &name, Answer answer) {
        if (answer == Answer::Yes || answer == Answer::No)
            assertions.insert(name, answer == Answer::Yes);
    };
    add(QStringLiteral("PreventUserIdleDisplaySleep"), sessionInhibitor());
    add(QStringLiteral("NoDisplaySleepAssertion"), logindIdleBlock());
    return assertions;
}

DisplaySleepAssertions::Answer DisplaySleepAssertions::sessionInhibitor()
{
    DBusQuery gnome(m_sessionBus, QStringLiteral("org.gnome.SessionManager"),
        QStringLiteral("/org/gnome/SessionManager"), QStringLiteral("org.gnome.SessionManager"),
        QStringLiteral("IsInhibited"), {QVariant::fromValue(inhibitIdle)});
    const Answer answer = boolAnswer<Answer>(gnome);
    if (answer == Answer::Yes || answer == Answer::No)
        return answer;
    DBusQuery power(m_sessionBus, QStringLiteral("org.freedesktop.PowerManagement"),
        QStringLiteral("/org/freedesktop/PowerManagement/Inhibit"),
        QStringLiteral("org.freedesktop.PowerManagement.Inhibit"), QStringLiteral("HasInhibit"));
    const Answer fallback = boolAnswer<Answer>(power);
    return fallback == Answer::Absent ? answer : fallback;
}

DisplaySleepAssertions::Answer DisplaySleepAssertions::logindIdleBlock()
{
    DBusQuery logind(m_systemBus, QStringLiteral("org.freedesktop.login1"),
        QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("ListInhibitors"));
    switch (logind.run(QStringLiteral("a(ssssuu)"))) {
    case DBusQuery::Outcome::Absent:
        return Answer::Absent;
    case DBusQuery::Outcome::Failed:
        return Answer::Failed;
    case DBusQuery::Outcome::Answered:
        break;
    }
    const QDBusArgument list = logind.arguments().value(0).value<QDBusArgument>();
    bool blocked = false;
    list.beginArray();
    while (!list.atEnd()) {
        Inhibitor inhibitor;
        list >> inhibitor;
        // "what" is a colon-separated list such as "sleep:idle".
        if (inhibitor.mode == u"block"
            && inhibitor.what.split(QLatin1Char(':')).contains(QStringLiteral("idle")))
            blocked = true;
    }
    list.endArray();
    return blocked ? Answer::Yes : Answer::No;
}

#pragma once

#include <QDBusConnection>
#include <QObject>

// One Daystride per session: the first start owns org.daystride.Daystride on the
// session bus; a later start asks it to open its popover instead of running.
class SingleInstance : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.daystride.Daystride")

public:
    static constexpr auto serviceName = "org.daystride.Daystride";
    static constexpr auto objectPath = "/org/daystride/Daystride";

    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // standalone: no bus, or a holder that does not answer; run without the name.
    enum class Claim { owner, otherInstanceAnswered, standalone };
    // Takes the name, or hands over to the instance that holds it.
    Claim claim();

public slots:
    // Called by a second start: first the activation token it was started with, if
    // any, so the popover may take the focus on Wayland, then ShowPopover.
    Q_SCRIPTABLE void ProvideActivationToken(const QString &token);
    Q_SCRIPTABLE void ShowPopover();

signals:
    // `activationToken` is the one the second start passed on, or empty.
    void popoverRequested(const QString &activationToken);

private:
    QDBusConnection m_bus;
    bool m_owner = false;
    QString m_activationToken;
};

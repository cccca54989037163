#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QFileSystemWatcher>
#include <QObject>

class QSocketNotifier;

// Tells when the wall clock moved under the program other than by running on: the
// clock was set, the machine woke from sleep, or the system's time zone changed.
// Local-time conversions follow a new zone by themselves (the C library re-reads
// /etc/localtime when it changes); what was shown from the old one has to be redrawn.
class WallClock : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *zoneFile = "/etc/localtime";

    explicit WallClock(const QDBusConnection &systemBus, QObject *parent = nullptr);
    ~WallClock() override;

signals:
    void changed();

private slots:
    void sleepPrepared(bool sleeping);
    void timeDatePropertiesChanged(
        const QString &interface, const QVariantMap &changed, const QStringList &invalidated);

private:
    void armClockSetWatch();
    void readClockSetWatch();
    void zoneFileTouched();

    int m_timerFd = -1;
    QSocketNotifier *m_timerNotifier = nullptr;
    QFileSystemWatcher m_zoneWatch;
    QByteArray m_zone;
};

#include "WallClock.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// What identifies the zone in use: where the link points and what the file holds.
QByteArray zoneIdentity(const QString &path)
{
    QFile file(path);
    const QByteArray contents = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return QFile::encodeName(QFileInfo(path).symLinkTarget()) + '\n' + contents;
}

} // namespace

WallClock::WallClock(const QDBusConnection &systemBus, QObject *parent)
    : QObject(parent)
{
    // A timer that the kernel cancels whenever the real-time clock is set; most
    // kernels count a resume from suspend as such a setting too.
    m_timerFd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_timerFd >= 0) {
        m_timerNotifier = new QSocketNotifier(m_timerFd, QSocketNotifier::Read, this);
        connect(m_timerNotifier, &QSocketNotifier::activated, this, &WallClock::readClockSetWatch);
        armClockSetWatch();
    }

    // logind announces the way back from sleep, for kernels that do not set the clock.
    QDBusConnection bus = systemBus;
    bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
        SLOT(sleepPrepared(bool)));
    // timedated announces a new zone; the file below changes with it, and also where
    // the zone is changed without timedated.
    bus.connect(QStringLiteral("org.freedesktop.timedate1"),
        QStringLiteral("/org/freedesktop/timedate1"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
        this, SLOT(timeDatePropertiesChanged(QString, QVariantMap, QStringList)));

    // The file itself for a change in place, its folder for a new link or file put
    // in its place (a watch on the old one would never fire again).
    const QString zone = QString::fromLatin1(zoneFile);
    m_zone = zoneIdentity(zone);
    m_zoneWatch.addPaths({zone, QFileInfo(zone).path()});
    connect(&m_zoneWatch, &QFileSystemWatcher::fileChanged, this, &WallClock::zoneFileTouched);
    connect(&m_zoneWatch, &QFileSystemWatcher::directoryChanged, this, &WallClock::zoneFileTouched);
}

WallClock::~WallClock()
{
    if (m_timerFd >= 0)
        ::close(m_timerFd);
}

void WallClock::armClockSetWatch()
{
    // Set to expire far away: only the cancellation matters.
    timespec now = {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    itimerspec far = {};
    far.it_value.tv_sec = now.tv_sec + 365 * 24 * 3600;
    ::timerfd_settime(m_timerFd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &far, nullptr);
}

void WallClock::readClockSetWatch()
{
    quint64 expirations = 0;
    const ssize_t got = ::read(m_timerFd, &expirations, sizeof expirations);
    if (got < 0 && errno == EAGAIN)
        return;
    // Cancelled by a setting of the clock, or expired because it was set that far.
    armClockSetWatch();
    emit changed();
}

void WallClock::sleepPrepared(bool sleeping)
{
    if (!sleeping)
        emit changed();
}

void WallClock::timeDatePropertiesChanged(
    const QString &interface, const QVariantMap &changed, const QStringList &invalidated)
{
    const QString timezone = QStringLiteral("Timezone");
    if (interface == u"org.freedesktop.timedate1"
        && (changed.contains(timezone) || invalidated.contains(timezone)))
        emit this->changed();
}

void WallClock::zoneFileTouched()
{
    const QString zone = QString::fromLatin1(zoneFile);
    // A replaced file drops out of the watch: watch the new one.
    if (!m_zoneWatch.files().contains(zone))
        m_zoneWatch.addPath(zone);
    const QByteArray identity = zoneIdentity(zone);
    if (identity == m_zone)
        return;
    m_zone = identity;
    emit changed();
}

#include "ui/PaletteFollower.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

// Hears the application's palette change once for every follower: widgets with a
// style sheet keep a palette of their own and are not told.
class ApplicationPalette : public QObject
{
    Q_OBJECT

public:
    static ApplicationPalette *instance()
    {
        static auto *hub = [] {
            auto *object = new ApplicationPalette(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(object);
            return object;
        }();
        return hub;
    }

signals:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == QCoreApplication::instance()
            && event->type() == QEvent::ApplicationPaletteChange)
            emit changed();
        return QObject::eventFilter(watched, event);
    }

private:
    using QObject::QObject;
};

} // namespace

PaletteFollower::PaletteFollower(QObject *owner, std::function<void()> apply)
    : QObject(owner)
    , m_apply(std::move(apply))
{
    if (owner->isWidgetType())
        owner->installEventFilter(this);
    if (QCoreApplication::instance())
        connect(ApplicationPalette::instance(), &ApplicationPalette::changed, this,
            &PaletteFollower::schedule);
}

void PaletteFollower::follow(QObject *owner, std::function<void()> apply)
{
    apply();
    new PaletteFollower(owner, std::move(apply));
}

bool PaletteFollower::eventFilter(QObject *watched, QEvent *event)
{
    // The widget's palette is the new one now. A style sheet set by the colouring
    // may itself adjust the palette: colour once per change.
    if (event->type() == QEvent::PaletteChange && !m_applying) {
        m_applying = true;
        m_apply();
        m_applying = false;
    }
    return QObject::eventFilter(watched, event);
}

void PaletteFollower::schedule()
{
    // Once every widget has taken the new palette.
    if (m_pending)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pending = false;
            m_apply();
        },
        Qt::QueuedConnection);
}

#include "PaletteFollower.moc"

// The floor of every whole-process figure: an empty Qt Widgets program that does the
// least Daystride's work needs. It waits on one 60-second timer, puts one
// StatusNotifierItem-like name on the session bus and registers it with the
// watcher, and on request covers each screen with a black full-screen window that
// draws a line of text each second. No model, no settings, no idle poll.
//   floor            idle; D-Bus methods on /Floor: Cover(bool) shows or hides the cover,
//                    Window(bool) a small 320 x 400 window of labels, a line edit and a
//                    button
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>
#include <unistd.h>
#include <vector>

namespace {

class Cover : public QWidget
{
public:
    Cover()
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        m_tick.setInterval(1000);
        QObject::connect(&m_tick, &QTimer::timeout, this, [this] { update(); });
    }

protected:
    void showEvent(QShowEvent *) override { m_tick.start(); }
    void hideEvent(QHideEvent *) override { m_tick.stop(); }
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, QTime::currentTime().toString());
    }

private:
    QTimer m_tick;
};

class Floor : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.daystride.Floor")

public slots:
    void Cover(bool shown)
    {
        m_covers.clear();
        if (!shown)
            return;
        for (QScreen *screen : QGuiApplication::screens()) {
            auto cover = std::make_unique<::Cover>();
            cover->setGeometry(screen->geometry());
            cover->setScreen(screen);
            cover->setWindowState(Qt::WindowFullScreen);
            cover->show();
            m_covers.push_back(std::move(cover));
        }
    }

    // A small window of text, a line edit and a button, shown and hidden as a small
    // program's own window is: it loads fonts and the style as any widgets window does.
    void Window(bool shown)
    {
        if (!m_window) {
            m_window = std::make_unique<QWidget>();
            auto *layout = new QVBoxLayout(m_window.get());
            auto *title = new QLabel(QStringLiteral("Next event"));
            QFont bold = title->font();
            bold.setBold(true);
            title->setFont(bold);
            layout->addWidget(title);
            layout->addWidget(new QLabel(QStringLiteral("Weekly meeting")));
            layout->addWidget(new QLabel(QStringLiteral("in 2 hours 15 minutes")));
            layout->addWidget(new QLineEdit(QStringLiteral("Notes")));
            layout->addStretch();
            layout->addWidget(new QPushButton(QStringLiteral("Quit")));
            m_window->resize(320, 400);
        }
        m_window->setVisible(shown);
    }

private:
    std::vector<std::unique_ptr<::Cover>> m_covers;
    std::unique_ptr<QWidget> m_window;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QTimer minute;
    minute.start(60000);

    Floor floor;
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString name = QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(getpid());
    bus.registerService(name);
    bus.registerObject(QStringLiteral("/Floor"), &floor, QDBusConnection::ExportAllSlots);
    QDBusMessage registration = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.kde.StatusNotifierWatcher"),
        QStringLiteral("RegisterStatusNotifierItem"));
    registration << name;
    bus.send(registration);
    return app.exec();
}

#include "floor.moc"

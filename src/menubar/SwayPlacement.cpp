#include "menubar/SwayPlacement.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
constexpr int gapToPanel = 4;
constexpr int timeoutMs = 500;

// i3's IPC message types, which sway keeps.
enum : quint32 { runCommand = 0, getWorkspaces = 1, getOutputs = 3 };

QString socketPath()
{
    return qEnvironmentVariable("SWAYSOCK");
}

// A connection to the IPC socket, closed with it.
class Connection
{
public:
    explicit Connection(const QString &path)
    {
        const QByteArray name = QFile::encodeName(path);
        sockaddr_un address {};
        if (name.size() >= qsizetype(sizeof address.sun_path))
            return;
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_fd >= 0
            && ::connect(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~Connection()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // One request and its reply: "i3-ipc", the payload's length and the type, in the
    // host's byte order, then the payload. Empty when sway does not answer in time.
    QByteArray ask(quint32 type, const QByteArray &payload)
    {
        static const QByteArray magic = QByteArrayLiteral("i3-ipc");
        QByteArray message = magic;
        const quint32 header[2] = {quint32(payload.size()), type};
        message.append(reinterpret_cast<const char *>(header), sizeof header);
        message.append(payload);
        if (!writeAll(message))
            return {};
        const qsizetype headerSize = magic.size() + qsizetype(sizeof header);
        const QByteArray head = read(headerSize);
        if (head.size() < headerSize || !head.startsWith(magic))
            return {};
        quint32 length = 0;
        std::memcpy(&length, head.constData() + magic.size(), sizeof length);
        return read(qsizetype(length));
    }

private:
    bool writeAll(const QByteArray &data)
    {
        qsizetype done = 0;
        while (m_fd >= 0 && done < data.size()) {
            const ssize_t n
                = ::send(m_fd, data.constData() + done, size_t(data.size() - done), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            done += n;
        }
        return m_fd >= 0;
    }

    QByteArray read(qsizetype count)
    {
        QByteArray data;
        while (m_fd >= 0 && data.size() < count) {
            pollfd ready {m_fd, POLLIN, 0};
            if (::poll(&ready, 1, timeoutMs) <= 0)
                break;
            char buffer[4096];
            const ssize_t n = ::recv(
                m_fd, buffer, size_t(std::min<qsizetype>(count - data.size(), sizeof buffer)), 0);
            if (n <= 0)
                break;
            data.append(buffer, n);
        }
        return data;
    }

    int m_fd = -1;
};

QRect rectOf(const QJsonObject &object)
{
    const QJsonObject r = object.value(QStringLiteral("rect")).toObject();
    return QRect(r.value(QStringLiteral("x")).toInt(), r.value(QStringLiteral("y")).toInt(),
        r.value(QStringLiteral("width")).toInt(), r.value(QStringLiteral("height")).toInt());
}
} // namespace

bool SwayPlacement::isAvailable()
{
    const QString path = socketPath();
    return !path.isEmpty() && QFile::exists(path);
}

QPoint SwayPlacement::corner(const QRect &area, const QRect &output, const QSize &size)
{
    const int x = area.right() + 1 - gapToPanel - size.width();
    const bool panelAtBottom = area.top() <= output.top() && area.bottom() < output.bottom();
    const int y
        = panelAtBottom ? area.bottom() + 1 - gapToPanel - size.height() : area.top() + gapToPanel;
    return QPoint(std::max(x, area.left()), std::max(y, area.top()));
}

bool SwayPlacement::moveToPanelCorner(const QString &title, const QSize &size)
{
    Connection sway(socketPath());
    // The focused workspace's area leaves out the panels; its output has them.
    QJsonObject workspace;
    for (const QJsonValue &w : QJsonDocument::fromJson(sway.ask(getWorkspaces, {})).array()) {
        if (w.toObject().value(QStringLiteral("focused")).toBool())
            workspace = w.toObject();
    }
    if (workspace.isEmpty())
        return false;
    QRect output;
    for (const QJsonValue &o : QJsonDocument::fromJson(sway.ask(getOutputs, {})).array()) {
        if (o.toObject().value(QStringLiteral("name")) == workspace.value(QStringLiteral("output")))
            output = rectOf(o.toObject());
    }
    const QRect area = rectOf(workspace);
    const QPoint at = corner(area, output.isEmpty() ? area : output, size);
    QString quoted = QRegularExpression::escape(title);
    quoted.replace(QLatin1Char('"'), QLatin1String("\\\""));
    const QString command = QStringLiteral("[pid=%1 title=\"^%2$\"] move absolute position %3 %4")
                                .arg(QCoreApplication::applicationPid())
                                .arg(quoted)
                                .arg(at.x())
                                .arg(at.y());
    const QJsonArray results
        = QJsonDocument::fromJson(sway.ask(runCommand, command.toUtf8())).array();
    return !results.isEmpty()
        && results.first().toObject().value(QStringLiteral("success")).toBool();
}

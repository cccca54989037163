#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QList>
#include <QSize>

// The program's icon for its windows: drawn from the scalable icon when asked, at
// the sizes window lists show. X11 gets every size an icon lists with each window it
// maps, and a scalable icon lists none, so Qt would draw it at four sizes up to 128
// pixels for every window, the popover included.
class WindowIcon : public QIconEngine
{
public:
    static QIcon make(const QString &scalableFile);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(
        const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    bool isNull() override;

private:
    explicit WindowIcon(const QIcon &scalable);

    QIcon m_scalable;
};

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;
class QWindow;

// Gives a window the focus once the compositor shows it. On Wayland a request to
// activate a surface that is not mapped yet is dropped, and Qt uses up the
// activation token on the first request: so the request waits for the window's
// first exposure, with the token the panel host handed over.
class FocusOnShow : public QObject
{
    Q_OBJECT

public:
    // `token` may be empty; the request then carries Qt's own. Call once shown.
    static void request(QWidget *window, const QString &token = {});
    static void request(QWindow *window, const QString &token = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FocusOnShow(QWindow *window, const QString &token);
    void activate();

    QPointer<QWindow> m_window;
    QString m_token;
};

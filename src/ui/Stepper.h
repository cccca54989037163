#pragma once

#include <QString>
#include <QWidget>

#include <functional>

// A whole number stepped within a range, shown as a label such as "5 min" beside a
// pair of "-" and "+" buttons; the mouse, Up/Down and +/- step it by one.
// valueChanged() reports the user's steps only.
class Stepper : public QWidget
{
    Q_OBJECT

public:
    // `format` holds "%lld" where the number goes.
    Stepper(qint64 minimum, qint64 maximum, const QString &format, QWidget *parent = nullptr);

    qint64 value() const { return m_value; }
    qint64 minimum() const { return m_minimum; }
    qint64 maximum() const { return m_maximum; }
    // Shows a value set elsewhere, even one outside the range.
    void setValue(qint64 value);
    // One step by the user; nothing at the end of the range. From a value outside
    // the range, a step towards it goes to the range's nearest end.
    void stepBy(qint64 steps);
    QString text() const;
    // The value as a screen reader says it ("5 minutes"); the text shown unless set.
    QString spokenText() const { return m_spoken ? m_spoken(m_value) : text(); }
    void setSpokenText(std::function<QString(qint64)> spoken) { m_spoken = std::move(spoken); }

    QSize sizeHint() const override;

signals:
    void valueChanged(qint64 value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void announceValue();
    QRectF controlRect() const;
    QRectF downRect() const;
    QRectF upRect() const;

    qint64 m_minimum;
    qint64 m_maximum;
    qint64 m_value;
    QString m_format;
    std::function<QString(qint64)> m_spoken;
};

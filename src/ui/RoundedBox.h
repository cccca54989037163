#pragma once

#include <QFrame>

// The rounded box the popover, the Settings window and the guide lay content on.
// `box`: corner radius 10, the quaternary fill at half strength, no border unless
// asked. `field`: radius 6 on the window colour at half strength, always outlined.
// The outline is 1.5 wide in the accent colour while focused, else a 1.0 hairline.
class RoundedBox : public QFrame
{
    Q_OBJECT

public:
    enum class Style { box, field };

    explicit RoundedBox(QWidget *parent = nullptr);
    explicit RoundedBox(Style style, QWidget *parent = nullptr);

    Style style() const { return m_style; }
    bool hasBorder() const { return m_border; }
    void setBorder(bool border);
    bool hasFocusBorder() const { return m_focused; }
    void setFocusBorder(bool focused);
    // The outline's width as drawn now: 0 when there is none.
    qreal borderWidth() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Style m_style;
    bool m_border;
    bool m_focused = false;
};

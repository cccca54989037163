#pragma once

#include "TodoView.h"
#include "model/Countdown.h"
#include "model/Todo.h"

#include <QFont>
#include <QPointer>
#include <QStaticText>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <vector>

class TimerViewModel;

// The full-screen countdown of one covering window: event name, secondary line,
// days/hours/minutes/seconds, a quote that changes every 90 ticks, and the task grid,
// white on black, scaled from a 1920 x 1080 reference design. Only reads the model.
//
// Painted in one pass from a layout that is computed when the size or the shown
// texts change; a tick repaints only the numbers that changed.
class CountdownView : public QWidget
{
    Q_OBJECT

public:
    enum class Weight { thin, ultraLight };

    // One laid-out line of text, in widget coordinates.
    struct Line
    {
        bool present = false;
        QString text; // as drawn: first line only, possibly truncated
        QFont font; // possibly shrunk from the nominal size
        int nominalPixelSize = 0;
        QRectF rect; // the line box: drawn width by the nominal line height
        qreal baseline = 0;
        QStaticText staticText;
    };

    // A number right-aligned in its fixed box, followed by its unit label.
    struct UnitGroup
    {
        qint64 value = 0;
        QRectF box;
        Line number;
        Line label;
        qreal digitCell = 0; // tabular digits: every digit gets this advance
    };

    static constexpr qreal referenceWidth = 1920;
    static constexpr qreal referenceHeight = 1080;
    static constexpr qint64 quoteTicks = 90;
    static constexpr int tickMilliseconds = 1000;
    static constexpr int tickSlackMilliseconds = 2;

    explicit CountdownView(TimerViewModel *viewModel, const TimeRemaining &timeRemaining = {},
        qint64 quoteInterval = 0, const QString &quote = QString(), QWidget *parent = nullptr);
    ~CountdownView() override;

    TimeRemaining timeRemaining() const { return m_timeRemaining; }
    qint64 quoteInterval() const { return m_quoteInterval; }
    const QString &quote() const { return m_quote; }
    bool isTicking() const { return m_ticker.isActive(); }
    int millisecondsToTick() const { return m_ticker.remainingTime(); }

    // The model's quotes, leaving out the blank ones; the others exactly as stored.
    QStringList validQuotes() const;
    // The model's tasks with a non-blank text, completed ones included.
    TodoList visibleTodos() const;

    // The typeface in its two lightest weights, ultra-light lighter than thin where
    // the typeface has two light faces. Falls back to the system font.
    static QFont typeface(Weight weight, int pixelSize);

    // Layout, brought up to date on every read.
    qreal scale() const;
    QRectF columnRect() const;
    const Line &eventNameLine() const;
    const Line &subtitleLine() const;
    const std::array<UnitGroup, 4> &unitGroups() const;
    QRectF countdownRowRect() const;
    const Line &quoteLine() const;
    QRectF gridRect() const;
    const std::vector<TodoView> &todoViews() const;

public slots:
    // One tick: reads the time left and, every 90 ticks or while none is shown,
    // chooses a quote.
    void refresh();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void scheduleRelayout();
    // What a screen reader says of it: event and time left, quote and tasks.
    void describe();
    void ensureLayout() const;
    void relayout();
    void layoutNumber(UnitGroup &group);
    void setTimeRemaining(const TimeRemaining &time);
    void setQuote(const QString &quote);
    void startTicker();
    QFont nominalFont(Weight weight, qreal referenceSize) const;

    QPointer<TimerViewModel> m_viewModel;
    TimeRemaining m_timeRemaining;
    qint64 m_quoteInterval = 0;
    QString m_quote;
    QTimer m_ticker;

    bool m_layoutDirty = true;
    bool m_relayoutQueued = false;
    QSize m_layoutSize;
    qreal m_scale = 1;
    QRectF m_column;
    Line m_eventName;
    Line m_subtitle;
    std::array<UnitGroup, 4> m_groups;
    QRectF m_row;
    Line m_quoteLine;
    QRectF m_grid;
    QFont m_taskFont;
    std::vector<TodoView> m_todoViews;
    // Per group: the glyphs of "0"-"9" and the ellipsis, prepared in its font.
    std::array<std::array<QStaticText, 11>, 4> m_digitGlyphs;
    std::array<std::array<qreal, 11>, 4> m_digitAdvances {};
};

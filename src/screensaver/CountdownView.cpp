#include "CountdownView.h"

#include "FittedText.h"
#include "model/Countdown.h"
#include "model/TimerViewModel.h"
#include "model/Whitespace.h"
#include "platform/Platform.h"
#include "ui/Accessibility.h"
#include "ui/Units.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace {

// The typefaces in order of preference. M PLUS 1 has Thin and ExtraLight faces that
// are told apart at a glance; Quicksand's lightest is Light, one face for both weights.
const QStringList kTypefaces = {QStringLiteral("M PLUS 1"), QStringLiteral("Quicksand")};
const QString kEllipsis = QString(QChar(0x2026));
constexpr std::array<qreal, 4> kBoxWidths = {250, 200, 200, 200};

struct Face
{
    QString family;
    int weight;
};

// Whether `family` is `typeface` or one weight of it listed as a family of its own
// ("Quicksand Light"), as fontconfig may list them; not a relative ("M PLUS 1 Code").
bool isFaceOf(const QString &family, const QString &typeface)
{
    static const QStringList weights = {QStringLiteral("Thin"), QStringLiteral("ExtraLight"),
        QStringLiteral("UltraLight"), QStringLiteral("Light"), QStringLiteral("Regular"),
        QStringLiteral("Medium"), QStringLiteral("SemiBold"), QStringLiteral("Bold"),
        QStringLiteral("ExtraBold"), QStringLiteral("Black")};
    if (family.compare(typeface, Qt::CaseInsensitive) == 0)
        return true;
    return family.startsWith(typeface + u' ', Qt::CaseInsensitive)
        && weights.contains(family.mid(typeface.size() + 1), Qt::CaseInsensitive);
}

// The faces of the first installed typeface, from lightest to heaviest.
const std::vector<Face> &typefaceFaces()
{
    static const std::vector<Face> faces = [] {
        std::vector<Face> found;
        const QStringList families = QFontDatabase::families();
        for (const QString &typeface : kTypefaces) {
            for (const QString &family : families) {
                if (!isFaceOf(family, typeface))
                    continue;
                for (const QString &style : QFontDatabase::styles(family)) {
                    if (!QFontDatabase::italic(family, style))
                        found.push_back({family, QFontDatabase::weight(family, style)});
                }
            }
            if (!found.empty())
                break;
        }
        std::stable_sort(found.begin(), found.end(),
            [](const Face &a, const Face &b) { return a.weight < b.weight; });
        return found;
    }();
    return faces;
}

int glyphIndex(QChar c)
{
    return c.isDigit() ? c.digitValue() : 10;
}

void setLine(CountdownView::Line &line, const FittedText &fitted, qreal x, qreal top, qreal height,
    qreal ascent)
{
    line.present = true;
    line.text = fitted.text;
    line.font = fitted.font;
    line.rect = QRectF(x, top, fitted.width, height);
    line.baseline = top + ascent;
    line.staticText = QStaticText(fitted.text);
    line.staticText.setTextFormat(Qt::PlainText);
    line.staticText.prepare(QTransform(), fitted.font);
}

void drawLine(QPainter &painter, const CountdownView::Line &line, const QRect &exposed)
{
    if (!line.present || !exposed.intersects(line.rect.toAlignedRect()))
        return;
    painter.setFont(line.font);
    painter.drawStaticText(
        QPointF(line.rect.left(), line.baseline - QFontMetricsF(line.font).ascent()),
        line.staticText);
}

} // namespace

CountdownView::CountdownView(TimerViewModel *viewModel, const TimeRemaining &timeRemaining,
    qint64 quoteInterval, const QString &quote, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
    , m_timeRemaining(timeRemaining)
    , m_quoteInterval(quoteInterval)
    , m_quote(quote)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Takes its window's focus, so that a screen reader reads it when it comes up.
    setFocusPolicy(Qt::StrongFocus);
    Accessibility::setRole(this, QAccessible::StaticText);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    m_ticker.setTimerType(Qt::PreciseTimer);
    m_ticker.setSingleShot(true);
    connect(&m_ticker, &QTimer::timeout, this, [this] {
        refresh();
        startTicker();
    });
    describe();

    const std::array<qint64, 4> values
        = {timeRemaining.days, timeRemaining.hours, timeRemaining.minutes, timeRemaining.seconds};
    for (size_t i = 0; i < m_groups.size(); ++i)
        m_groups[i].value = values[i];

    if (viewModel) {
        // A burst of changes lays out and repaints once.
        connect(
            viewModel, &TimerViewModel::objectWillChange, this, &CountdownView::scheduleRelayout);
        for (auto changed : {&TimerViewModel::eventNameChanged, &TimerViewModel::subtitleChanged,
                 &TimerViewModel::todosChanged, &TimerViewModel::quotesChanged,
                 &TimerViewModel::timerDateChanged})
            connect(viewModel, changed, this, &CountdownView::scheduleRelayout);
    }
}

CountdownView::~CountdownView() = default;

QStringList CountdownView::validQuotes() const
{
    QStringList valid;
    if (!m_viewModel)
        return valid;
    for (const QString &quote : m_viewModel->quotes()) {
        if (!isBlank(quote))
            valid.append(quote);
    }
    return valid;
}

TodoList CountdownView::visibleTodos() const
{
    TodoList visible;
    if (!m_viewModel)
        return visible;
    for (const Todo &todo : m_viewModel->todos()) {
        if (!isBlank(todo.text))
            visible.append(todo);
    }
    return visible;
}

QFont CountdownView::typeface(Weight weight, int pixelSize)
{
    const std::vector<Face> &faces = typefaceFaces();
    QFont font;
    if (faces.empty()) {
        font = QApplication::font();
        font.setWeight(weight == Weight::ultraLight ? QFont::Thin : QFont::ExtraLight);
    } else {
        // Thin takes the next heavier face only while that is still a light one.
        const Face &lightest = faces.front();
        const auto next = std::find_if(
            faces.begin(), faces.end(), [&](const Face &f) { return f.weight > lightest.weight; });
        const Face &face
            = weight == Weight::thin && next != faces.end() && next->weight <= QFont::Light
            ? *next
            : lightest;
        font = QFont(face.family);
        font.setWeight(QFont::Weight(face.weight));
    }
    font.setPixelSize(std::max(1, pixelSize));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont CountdownView::nominalFont(Weight weight, qreal referenceSize) const
{
    return typeface(weight, qRound(referenceSize * m_scale));
}

void CountdownView::refresh()
{
    if (!m_viewModel)
        return;
    setTimeRemaining(m_viewModel->timeRemaining());
    ++m_quoteInterval;
    if (!m_quote.isEmpty() && m_quoteInterval < quoteTicks)
        return;
    const QStringList valid = validQuotes();
    setQuote(valid.isEmpty()
            ? QString()
            : valid.at(QRandomGenerator::system()->bounded(quint32(valid.size()))));
    m_quoteInterval = 0;
}

void CountdownView::describe()
{
    // The name carries the time left to the minute: a screen reader reads it out
    // again when it changes, once a minute rather than every second.
    const QString name
        = Units::untilEvent(m_viewModel ? m_viewModel->eventName() : QString(), m_timeRemaining);
    QStringList details;
    if (!m_quote.isEmpty())
        details << tr("“%1”").arg(m_quote);
    for (const Todo &todo : visibleTodos())
        details
            << (todo.isCompleted ? tr("%1, done") : tr("%1, not done")).arg(todo.text.trimmed());
    const QString description = details.join(QStringLiteral(". "));
    if (accessibleName() != name)
        setAccessibleName(name);
    if (accessibleDescription() != description)
        setAccessibleDescription(description);
}

void CountdownView::setTimeRemaining(const TimeRemaining &time)
{
    const bool newMinute = time.days != m_timeRemaining.days || time.hours != m_timeRemaining.hours
        || time.minutes != m_timeRemaining.minutes;
    m_timeRemaining = time;
    if (newMinute)
        describe();
    const std::array<qint64, 4> values = {time.days, time.hours, time.minutes, time.seconds};
    for (size_t i = 0; i < m_groups.size(); ++i) {
        UnitGroup &group = m_groups[i];
        if (group.value == values[i])
            continue;
        // Same digit count, not truncated: same font and place, new digits.
        const bool sameLength
            = QString::number(group.value).size() == QString::number(values[i]).size()
            && !group.number.text.endsWith(kEllipsis);
        const bool sameLabel
            = Units::label(Units::Unit(i), group.value) == Units::label(Units::Unit(i), values[i]);
        group.value = values[i];
        if (!sameLabel) {
            // "1 day" to "2 days": the row's width changes.
            m_layoutDirty = true;
            update();
        }
        if (m_layoutDirty || m_layoutSize != size())
            continue;
        const QRect before = group.number.rect.toAlignedRect();
        if (sameLength)
            group.number.text = QString::number(group.value);
        else
            layoutNumber(group);
        // Glyphs may overhang their advance a little.
        const int margin = std::max(2, qCeil(group.number.font.pixelSize() * 0.1));
        update(before.united(group.number.rect.toAlignedRect())
                   .united(group.box.toAlignedRect())
                   .adjusted(-margin, -margin, margin, margin));
    }
}

void CountdownView::setQuote(const QString &quote)
{
    if (quote == m_quote)
        return;
    const bool presenceChanged = quote.isEmpty() != m_quote.isEmpty();
    m_quote = quote;
    describe();
    if (presenceChanged || m_layoutDirty || m_layoutSize != size()) {
        // The column's height changes: everything moves.
        m_layoutDirty = true;
        update();
        return;
    }
    const QRect before = m_quoteLine.rect.toAlignedRect();
    const QFont font = nominalFont(Weight::thin, 50);
    const QFontMetricsF metrics(font);
    const FittedText fitted = FittedText::fit(font, m_quote, m_column.width());
    setLine(m_quoteLine, fitted, m_column.left() + (m_column.width() - fitted.width) / 2,
        m_quoteLine.rect.top(), m_quoteLine.rect.height(), metrics.ascent());
    m_quoteLine.nominalPixelSize = font.pixelSize();
    update(before.united(m_quoteLine.rect.toAlignedRect()).adjusted(-4, -4, 4, 4));
}

void CountdownView::scheduleRelayout()
{
    m_layoutDirty = true;
    if (m_relayoutQueued)
        return;
    m_relayoutQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_relayoutQueued = false;
            update();
        },
        Qt::QueuedConnection);
}

void CountdownView::ensureLayout() const
{
    // A hidden widget gets no resize event; compare sizes as well.
    if (m_layoutDirty || m_layoutSize != size())
        const_cast<CountdownView *>(this)->relayout();
}

void CountdownView::layoutNumber(UnitGroup &group)
{
    const size_t index = size_t(&group - m_groups.data());
    const QString digits = QString::number(group.value);
    QFont font = nominalFont(Weight::thin, 150);
    const int nominal = font.pixelSize();
    const int smallest = std::max(1, qCeil(nominal * FittedText::minimumScale));
    const qreal boxWidth = group.box.width();

    auto digitCell = [](const QFontMetricsF &metrics) {
        qreal cell = 0;
        for (char d = '0'; d <= '9'; ++d)
            cell = std::max(cell, metrics.horizontalAdvance(QChar(d)));
        return cell;
    };
    qreal cell = digitCell(QFontMetricsF(font));
    qreal width = cell * digits.size();
    if (width > boxWidth) {
        // Shrink rather than widen the row, down to half size.
        int size = std::max(smallest, int(std::floor(nominal * boxWidth / width)));
        for (;; --size) {
            font.setPixelSize(size);
            cell = digitCell(QFontMetricsF(font));
            width = cell * digits.size();
            if (width <= boxWidth || size <= smallest)
                break;
        }
    }
    const QFontMetricsF metrics(font);
    QString shown = digits;
    if (width > boxWidth) {
        const qreal ellipsis = metrics.horizontalAdvance(kEllipsis);
        const qsizetype fit = std::max<qsizetype>(0, qFloor((boxWidth - ellipsis) / cell));
        shown = digits.left(fit) + kEllipsis;
        width = cell * fit + ellipsis;
    }

    Line &line = group.number;
    line.present = true;
    line.text = shown;
    line.font = font;
    line.nominalPixelSize = nominal;
    line.rect = QRectF(group.box.right() - width, group.box.top(), width, group.box.height());
    // Aligned with the label on the row's first baseline.
    line.baseline = group.label.baseline;
    group.digitCell = cell;

    for (int i = 0; i < 11; ++i) {
        const QString glyph = i < 10 ? QString(QChar(u'0' + i)) : kEllipsis;
        QStaticText &text = m_digitGlyphs[index][size_t(i)];
        text = QStaticText(glyph);
        text.setTextFormat(Qt::PlainText);
        text.prepare(QTransform(), font);
        m_digitAdvances[index][size_t(i)] = metrics.horizontalAdvance(glyph);
    }
}

void CountdownView::relayout()
{
    m_layoutDirty = false;
    m_layoutSize = size();
    describe();
    const qreal w = width();
    const qreal h = height();
    m_scale = std::min(w / referenceWidth, h / referenceHeight);
    const qreal s = m_scale;

    const QString eventName = m_viewModel ? m_viewModel->eventName() : QString();
    const QString subtitle = m_viewModel ? m_viewModel->subtitle() : QString();
    const TodoList todos = visibleTodos();

    const QFont nameFont = nominalFont(Weight::thin, 60);
    const QFont subtitleFont = nominalFont(Weight::ultraLight, 30);
    const QFont numberFont = nominalFont(Weight::thin, 150);
    const QFont labelFont = nominalFont(Weight::ultraLight, 20);
    const QFont quoteFont = nominalFont(Weight::thin, 50);
    m_taskFont = nominalFont(Weight::thin, 30);
    const QFontMetricsF nameMetrics(nameFont), subtitleMetrics(subtitleFont),
        numberMetrics(numberFont), labelMetrics(labelFont), quoteMetrics(quoteFont),
        taskMetrics(m_taskFont);

    // Heights first, so the column can be centred.
    const qreal rowAscent = std::max(numberMetrics.ascent(), labelMetrics.ascent());
    const qreal rowHeight = rowAscent + std::max(numberMetrics.descent(), labelMetrics.descent());
    const qsizetype gridRows = (todos.size() + 1) / 2;
    const qreal taskLine = taskMetrics.height();
    const qreal gridHeight = gridRows ? gridRows * taskLine + (gridRows - 1) * 16 * s : 0;
    qreal total = nameMetrics.height() + 50 * s + rowHeight + 100 * s + gridHeight;
    if (!subtitle.isEmpty())
        total += 10 * s + subtitleMetrics.height();
    if (!m_quote.isEmpty())
        total += quoteMetrics.height() + 80 * s;

    m_column = QRectF(0, (h - total) / 2, w, total);
    auto centred = [&](qreal lineWidth) {
        return m_column.left() + (w - lineWidth) / 2;
    };
    qreal y = m_column.top();

    FittedText fitted = FittedText::fit(nameFont, eventName, w);
    setLine(
        m_eventName, fitted, centred(fitted.width), y, nameMetrics.height(), nameMetrics.ascent());
    m_eventName.nominalPixelSize = nameFont.pixelSize();
    y += nameMetrics.height();

    m_subtitle = Line();
    if (!subtitle.isEmpty()) {
        y += 10 * s;
        fitted = FittedText::fit(subtitleFont, subtitle, w);
        setLine(m_subtitle, fitted, centred(fitted.width), y, subtitleMetrics.height(),
            subtitleMetrics.ascent());
        m_subtitle.nominalPixelSize = subtitleFont.pixelSize();
        y += subtitleMetrics.height();
    }

    y += 50 * s;
    const qreal spacing = 20 * s;
    qreal rowWidth = 3 * spacing;
    std::array<FittedText, 4> labels;
    for (size_t i = 0; i < m_groups.size(); ++i) {
        labels[i] = FittedText::fit(labelFont, Units::label(Units::Unit(i), m_groups[i].value), w);
        rowWidth += kBoxWidths[i] * s + spacing + labels[i].width;
    }
    m_row = QRectF(centred(rowWidth), y, rowWidth, rowHeight);
    qreal x = m_row.left();
    for (size_t i = 0; i < m_groups.size(); ++i) {
        UnitGroup &group = m_groups[i];
        group.box = QRectF(x, y, kBoxWidths[i] * s, rowHeight);
        x += group.box.width() + spacing;
        setLine(group.label, labels[i], x, y, rowHeight, rowAscent);
        group.label.nominalPixelSize = labelFont.pixelSize();
        x += labels[i].width + spacing;
        layoutNumber(group);
    }
    y += rowHeight + 100 * s;

    m_quoteLine = Line();
    if (!m_quote.isEmpty()) {
        fitted = FittedText::fit(quoteFont, m_quote, w);
        setLine(m_quoteLine, fitted, centred(fitted.width), y, quoteMetrics.height(),
            quoteMetrics.ascent());
        m_quoteLine.nominalPixelSize = quoteFont.pixelSize();
        y += quoteMetrics.height() + 80 * s;
    }

    const qreal gridWidth = std::min(1100 * s, w);
    m_grid = QRectF(centred(gridWidth), y, gridWidth, gridHeight);
    const qreal columnGap = 60 * s;
    const qreal cellWidth = std::max<qreal>(10, (gridWidth - columnGap) / 2);
    m_todoViews.clear();
    m_todoViews.reserve(size_t(todos.size()));
    for (qsizetype i = 0; i < todos.size(); ++i) {
        const qreal cellX = m_grid.left() + (i % 2) * (cellWidth + columnGap);
        const qreal cellY = m_grid.top() + (i / 2) * (taskLine + 16 * s);
        TodoView &view = m_todoViews.emplace_back(todos[i].text, todos[i].isCompleted);
        view.layout(m_taskFont, QRectF(cellX, cellY, cellWidth, taskLine));
    }
}

qreal CountdownView::scale() const
{
    ensureLayout();
    return m_scale;
}

QRectF CountdownView::columnRect() const
{
    ensureLayout();
    return m_column;
}

const CountdownView::Line &CountdownView::eventNameLine() const
{
    ensureLayout();
    return m_eventName;
}

const CountdownView::Line &CountdownView::subtitleLine() const
{
    ensureLayout();
    return m_subtitle;
}

const std::array<CountdownView::UnitGroup, 4> &CountdownView::unitGroups() const
{
    ensureLayout();
    return m_groups;
}

QRectF CountdownView::countdownRowRect() const
{
    ensureLayout();
    return m_row;
}

const CountdownView::Line &CountdownView::quoteLine() const
{
    ensureLayout();
    return m_quoteLine;
}

QRectF CountdownView::gridRect() const
{
    ensureLayout();
    return m_grid;
}

const std::vector<TodoView> &CountdownView::todoViews() const
{
    ensureLayout();
    return m_todoViews;
}

void CountdownView::paintEvent(QPaintEvent *event)
{
    ensureLayout();
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.fillRect(exposed, Qt::black);
    if (!m_viewModel)
        return;
    painter.setPen(Qt::white);

    drawLine(painter, m_eventName, exposed);
    drawLine(painter, m_subtitle, exposed);
    for (size_t g = 0; g < m_groups.size(); ++g) {
        const UnitGroup &group = m_groups[g];
        drawLine(painter, group.label, exposed);
        if (!exposed.intersects(group.box.toAlignedRect()))
            continue;
        // Tabular digits: each glyph centred in a cell of the widest digit's advance.
        painter.setFont(group.number.font);
        const qreal top = group.number.baseline - QFontMetricsF(group.number.font).ascent();
        qreal x = group.number.rect.left();
        for (const QChar c : group.number.text) {
            const int i = glyphIndex(c);
            const qreal advance = m_digitAdvances[g][size_t(i)];
            const qreal cell = i < 10 ? group.digitCell : advance;
            painter.drawStaticText(
                QPointF(x + (cell - advance) / 2, top), m_digitGlyphs[g][size_t(i)]);
            x += cell;
        }
    }
    drawLine(painter, m_quoteLine, exposed);
    if (exposed.intersects(m_grid.toAlignedRect())) {
        painter.setFont(m_taskFont);
        for (const TodoView &view : m_todoViews)
            view.paint(painter);
    }
}

void CountdownView::resizeEvent(QResizeEvent *event)
{
    m_layoutDirty = true;
    QWidget::resizeEvent(event);
}

void CountdownView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_ticker.isActive()) {
        refresh();
        startTicker();
    }
}

void CountdownView::startTicker()
{
    // Each tick comes as the time left turns a second. So the seconds change on time,
    // and the covers of several screens, shown a moment apart, tick together and share
    // their wake-ups, their repaints and the compositor's answers to them. A little
    // after the turn: a timer is never early, the clock's reading may be.
    const qint64 untilTick = m_viewModel ? msecsPastNextTurn(m_viewModel->platform().now(),
                                 m_viewModel->timerDate(), tickMilliseconds, tickSlackMilliseconds)
                                         : tickMilliseconds + tickSlackMilliseconds;
    m_ticker.start(int(untilTick));
}

void CountdownView::hideEvent(QHideEvent *event)
{
    m_ticker.stop();
    QWidget::hideEvent(event);
}

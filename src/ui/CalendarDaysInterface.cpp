#include "ui/CalendarDaysInterface.h"

#include <QCalendarWidget>
#include <QTableView>

namespace {

// The view's model has the weekdays' row above the six weeks when they are shown,
// and the week numbers' column before the seven days.
int firstRow(const QAbstractItemModel *model)
{
    return model->rowCount() - 6;
}

int firstColumn(const QAbstractItemModel *model)
{
    return model->columnCount() - 7;
}

// How Qt's table views number the model's cells for assistive technology: with a
// row and a column for their headers.
int slot(const QAbstractItemModel *model, int row, int column)
{
    return (row + 1) * (model->columnCount() + 1) + column + 1;
}

Qt::DayOfWeek weekday(const QCalendarWidget *calendar, int column)
{
    return Qt::DayOfWeek((calendar->firstDayOfWeek() - 1 + column) % 7 + 1);
}

// The day in the model's cell: the view shows the day of the month only, from the
// month before in the first weeks and from the month after in the last ones.
QDate dateAt(const QCalendarWidget *calendar, const QAbstractItemModel *model, int row, int column)
{
    const int day = model->index(row, column).data().toInt();
    const QCalendar system = calendar->calendar();
    QDate month(calendar->yearShown(), calendar->monthShown(), 1, system);
    const int week = row - firstRow(model);
    if (week < 2 && day > 14)
        month = month.addMonths(-1, system);
    else if (week > 3 && day < 15)
        month = month.addMonths(1, system);
    return QDate(month.year(system), month.month(system), day, system);
}

// A day of the table, or a weekday at the head of its column.
class DayCell : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    DayCell(QTableView *view, QCalendarWidget *calendar, int row, int column)
        : m_view(view)
        , m_calendar(calendar)
        , m_row(row)
        , m_column(column)
    {
    }

    bool isValid() const override { return m_view && m_calendar; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_view);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return QString();
        const QLocale locale = m_calendar->locale();
        return header()
            ? locale.standaloneDayName(weekday(m_calendar, columnIndex()), QLocale::LongFormat)
            : locale.toString(date(), QLocale::LongFormat);
    }
    void setText(QAccessible::Text, const QString &) override { }

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect area = m_view->visualRect(m_view->model()->index(m_row, m_column));
        return QRect(m_view->viewport()->mapToGlobal(area.topLeft()), area.size());
    }

    QAccessible::Role role() const override
    {
        return header() ? QAccessible::ColumnHeader : QAccessible::Cell;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.invisible = !m_view->isVisible();
        if (header())
            return state;
        const QDate day = date();
        state.disabled = day < m_calendar->minimumDate() || day > m_calendar->maximumDate();
        state.selectable = state.focusable = !state.disabled;
        state.selected = day == m_calendar->selectedDate();
        state.focused = state.selected && m_view->hasFocus();
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface
            ? static_cast<QAccessibleTableCellInterface *>(this)
            : nullptr;
    }

    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface *> columnHeaderCells() const override
    {
        const QAbstractItemModel *model = m_view->model();
        if (header() || firstRow(model) == 0)
            return {};
        return {parent()->child(slot(model, firstRow(model) - 1, m_column))};
    }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column - firstColumn(m_view->model()); }
    int rowIndex() const override { return m_row - firstRow(m_view->model()); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

    const QTableView *view() const { return m_view; }
    int number() const { return slot(m_view->model(), m_row, m_column); }

private:
    bool header() const { return m_row < firstRow(m_view->model()); }
    QDate date() const { return dateAt(m_calendar, m_view->model(), m_row, m_column); }

    QPointer<QTableView> m_view;
    QPointer<QCalendarWidget> m_calendar;
    int m_row;
    int m_column;
};

} // namespace

CalendarDaysInterface::CalendarDaysInterface(QTableView *view, QCalendarWidget *calendar)
    : QAccessibleWidget(view, QAccessible::Table)
    , m_calendar(calendar)
{
}

CalendarDaysInterface::~CalendarDaysInterface()
{
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

void *CalendarDaysInterface::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

int CalendarDaysInterface::childCount() const
{
    const QAbstractItemModel *model = static_cast<QTableView *>(widget())->model();
    return (model->rowCount() + 1) * (model->columnCount() + 1);
}

QAccessibleInterface *CalendarDaysInterface::child(int index) const
{
    auto *view = static_cast<QTableView *>(widget());
    const QAbstractItemModel *model = view->model();
    const int row = index / (model->columnCount() + 1) - 1;
    const int column = index % (model->columnCount() + 1) - 1;
    if (!m_calendar || index >= childCount() || row < 0 || column < firstColumn(model))
        return nullptr;
    if (const auto found = m_cells.constFind(index); found != m_cells.cend())
        return QAccessible::accessibleInterface(*found);
    auto *cell = new DayCell(view, m_calendar, row, column);
    m_cells.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface *CalendarDaysInterface::childAt(int x, int y) const
{
    auto *view = static_cast<QTableView *>(widget());
    const QModelIndex index = view->indexAt(view->viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? child(slot(view->model(), index.row(), index.column())) : nullptr;
}

int CalendarDaysInterface::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *cell = dynamic_cast<const DayCell *>(child);
    return cell && cell->view() == widget() ? cell->number() : -1;
}

QAccessibleInterface *CalendarDaysInterface::cellAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    return child(indexOf(row, column));
}

QString CalendarDaysInterface::columnDescription(int column) const
{
    return m_calendar
        ? m_calendar->locale().standaloneDayName(weekday(m_calendar, column), QLocale::LongFormat)
        : QString();
}

QList<QAccessibleInterface *> CalendarDaysInterface::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    for (int row = 0; row < rowCount(); ++row) {
        for (int column = 0; column < columnCount(); ++column) {
            QAccessibleInterface *cell = cellAt(row, column);
            if (cell && cell->state().selected)
                cells << cell;
        }
    }
    return cells;
}

int CalendarDaysInterface::indexOf(int row, int column) const
{
    const QAbstractItemModel *model = static_cast<QTableView *>(widget())->model();
    return slot(model, row + firstRow(model), column + firstColumn(model));
}

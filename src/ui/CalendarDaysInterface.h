#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class QCalendarWidget;
class QTableView;

// A calendar's table of days as assistive technology reads it: a table of weeks
// whose column headers are the weekdays in full ("Tuesday") and whose cells are the
// days in full ("Tuesday, 8 December 2026"), the chosen one selected and the ones
// out of range unavailable. Qt's own reading has only the numbers shown.
//
// Children are numbered as Qt numbers a table view's cells, since the view's own
// focus and selection events name them so: the places of its hidden headers, and of
// week numbers, stay empty.
class CalendarDaysInterface : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    CalendarDaysInterface(QTableView *view, QCalendarWidget *calendar);
    ~CalendarDaysInterface() override;

    void *interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return QString(); }
    int columnCount() const override { return 7; }
    int rowCount() const override { return 6; }
    int selectedCellCount() const override { return int(selectedCells().size()); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<QAccessibleInterface *> selectedCells() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override { }

private:
    // The child's number for the table's cell.
    int indexOf(int modelRow, int modelColumn) const;

    QPointer<QCalendarWidget> m_calendar;
    mutable QHash<int, QAccessible::Id> m_cells;
};

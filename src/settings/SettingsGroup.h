#pragma once

#include <QWidget>

class QLabel;
class QVBoxLayout;

// One rounded group of rows of the grouped form, with hairlines between the rows.
// A row with a label shows it on the leading edge and its control on the trailing
// edge.
class SettingsGroup : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsGroup(QWidget *parent = nullptr);

    // Appends a titled section to `form` (whose layout is a vertical box): the title,
    // the group, and the footer text under it when one is given.
    static SettingsGroup *addSection(
        QWidget *form, const QString &title, const QString &footer = QString());

    // A row of `label` and `control`; `expand` lets the control take the rest of
    // the row's width. Returns the row.
    QWidget *addRow(const QString &label, QWidget *control, bool expand = false);
    void addRow(QWidget *row);
    void insertRow(int index, QWidget *row);
    // Takes the row out at once and deletes it once control is back in the event
    // loop, since it may be handling one of its own signals.
    void removeRow(QWidget *row);
    // The leading label of a row made by addRow(label, control).
    static QLabel *labelOf(QWidget *row);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVBoxLayout *m_rows = nullptr;
    // The labels of the rows whose fields share one column.
    QList<QLabel *> m_columnLabels;
};

#pragma once

#include <QFont>
#include <QStringList>

class QWidget;

namespace TextFit {
// The texts of the visible labels, buttons and line edits under `root` that do not
// fit their widget: a line wider than its label, wrapped lines taller than it, a
// button narrower than its text wants, a field's text wider than its text area. Call after the
// layouts have run.
QStringList cut(const QWidget *root);

// The application's font at `points` (none: as it is) for as long as this lives; the
// font before it comes back at the end.
class ApplicationFont
{
public:
    explicit ApplicationFont(qreal points);
    ~ApplicationFont();
    ApplicationFont(const ApplicationFont &) = delete;
    ApplicationFont &operator=(const ApplicationFont &) = delete;

private:
    QFont m_before;
};
} // namespace TextFit

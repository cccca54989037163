#pragma once

#include <QStringList>

class QWidget;

namespace TextFit {
// The texts of the visible labels and buttons under `root` that do not fit their
// widget: a line wider than its label, wrapped lines taller than it, a button narrower
// than its text wants. Call after the layouts have run.
QStringList cut(const QWidget *root);
} // namespace TextFit

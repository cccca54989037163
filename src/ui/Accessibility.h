#pragma once

#include <QAccessible>

class QWidget;

// What assistive technology is told about Daystride's own controls: the stepper is
// a spin box with a value, a range and steps; the date and time fields read out
// their text; a calendar's days are a table of full dates under weekday headers;
// tool buttons that act as tabs or check boxes say so.
class Accessibility
{
public:
    // Registers the interfaces with Qt's accessibility, once per process; before
    // the first control is asked for its interface.
    static void install();
    // Announces `widget` in `role` where its class suggests another one. Before the
    // widget is first shown.
    static void setRole(QWidget *widget, QAccessible::Role role);
};

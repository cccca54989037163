#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

// Runs a command-line X tool (xdotool, xprop, xwininfo) and returns its trimmed output.
QString runXTool(const QString &program, const QStringList &arguments);

// The window's place on the root window and its size, as the X server has it; empty
// while the window is not viewable.
QRect serverGeometry(const QString &windowId);

// Runs xdotool with `arguments`; true when it succeeded.
bool xdotool(const QStringList &arguments);
// The ids of the visible windows titled exactly `title`.
QStringList visibleWindows(const QString &title);
// The id of the window manager's active window.
QString activeWindow();

#!/usr/bin/python3
"""What a screen reader says as the focus moves, by Orca's rules.

Prints "ready" once it listens, then one line per event:
  "focus: Name, role[, state][, value]" for a focus Orca would present, a table
  cell's column header first when the column is not the last focus's,
  "silent: why: Name, role" for one it would drop,
  "context: Group" for the named groups a focus has newly entered, before it,
  "stale: Name, role" for one that has lost the focus again when asked,
  "said: text" for a change to the focused control that Orca reads out
  (its name, description, value, text or check state).
"""
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

R = Atspi.Role
WINDOWS = {R.FRAME, R.DIALOG, R.WINDOW, R.ALERT, R.FILE_CHOOSER}
TOGGLES = {R.CHECK_BOX, R.TOGGLE_BUTTON, R.RADIO_BUTTON, R.CHECK_MENU_ITEM}
TEXTS = {R.ENTRY, R.TEXT, R.SPIN_BUTTON, R.PASSWORD_TEXT, R.EDITBAR, R.LABEL, R.STATIC}

focused = None
context = []
column = None  # the table and the column of the last cell with the focus


def say(line):
    print(line, flush=True)


def has(obj, state):
    return obj.get_state_set().contains(state)


def text_of(obj):
    text = obj.get_text_iface()
    return text.get_text(0, text.get_character_count()) if text else ""


def value_of(obj):
    """The value Orca reads: the text shown, else the number."""
    role = obj.get_role()
    if role in TEXTS:
        shown = text_of(obj)
        if shown:
            return shown
    value = obj.get_value_iface()
    if value and role not in TOGGLES:
        number = value.get_current_value()
        return str(int(number)) if number == int(number) else str(number)
    return ""


def state_of(obj):
    role = obj.get_role()
    states = []
    if role in TOGGLES:
        states.append("checked" if has(obj, Atspi.StateType.CHECKED) else "not checked")
    if role in (R.TABLE_CELL, R.PAGE_TAB, R.LIST_ITEM) and has(obj, Atspi.StateType.SELECTED):
        states.append("selected")
    if not has(obj, Atspi.StateType.SENSITIVE):
        states.append("grayed")
    return ", ".join(states)


def new_column_header(obj):
    """A cell's column header, when the focus comes from another column."""
    global column
    if obj.get_role() != R.TABLE_CELL:
        column = None
        return ""
    table = obj.get_parent()
    place = (table, Atspi.Table.get_column_at_index(table, obj.get_index_in_parent()))
    if place == column:
        return ""
    column = place
    header = Atspi.Table.get_column_header(table, place[1])
    return name_of(header) if header else ""


def name_of(obj):
    name = obj.get_name()
    if not name:
        # A label pointing at it names it, as Orca's labelOrName does.
        for relation in obj.get_relation_set():
            if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY:
                name = " ".join(relation.get_target(i).get_name()
                                for i in range(relation.get_n_targets()))
    return name


def spoken(obj):
    name = name_of(obj)
    description = obj.get_description()
    parts = [name, obj.get_role_name(), state_of(obj), value_of(obj),
             description if description != name else ""]
    return ", ".join(p for p in parts if p)


def why_silent(obj):
    """Why Orca drops a focus event from `obj`, or None."""
    ancestry = [obj] if obj.get_role() in WINDOWS else []
    parent = obj.get_parent()
    while parent and parent.get_role() != R.APPLICATION:
        ancestry.append(parent)
        parent = parent.get_parent()
    if not ancestry:
        return "no window"
    for inner in ancestry[:-1]:
        if inner.get_role() in WINDOWS:
            return "inside a " + inner.get_role_name() + " " + repr(inner.get_name())
    top = ancestry[-1]
    if top.get_role() not in WINDOWS:
        return "window is a " + top.get_role_name()
    if not (has(top, Atspi.StateType.ACTIVE) and has(top, Atspi.StateType.SHOWING)):
        return "window not active and showing"
    if not name_of(obj) and obj.get_role() != R.TABLE_CELL:
        return "no name"
    return None


def on_focus(event):
    global focused
    if not event.detail1:
        return
    obj = event.source
    try:
        if not has(obj, Atspi.StateType.FOCUSED):
            say("stale: " + spoken(obj))  # the focus has moved on meanwhile
            return
        why = why_silent(obj)
        # A table or list with the focus: Orca speaks its selected item.
        if obj.get_role() in (R.TABLE, R.LIST, R.TREE_TABLE):
            for i in range(obj.get_child_count()):
                child = obj.get_child_at_index(i)
                if child and has(child, Atspi.StateType.SELECTED):
                    obj = child
                    break
        if why:
            say("silent: " + why + ": " + spoken(obj))
        else:
            # Orca first names the groups the focus has newly entered.
            global context
            groups = []
            parent = obj.get_parent()
            while parent and parent.get_role() not in WINDOWS | {R.APPLICATION}:
                if parent.get_role() in (R.PANEL, R.GROUPING) and parent.get_name():
                    groups.insert(0, parent.get_name())
                parent = parent.get_parent()
            entered = [group for group in groups if group not in context]
            context = groups
            if entered:
                say("context: " + ", ".join(entered))
            focused = obj
            header = new_column_header(obj)
            say("focus: " + (header + ", " if header else "") + spoken(obj))
    except Exception as error:  # an object gone meanwhile
        say("silent: " + str(error).replace("\n", " "))


def on_change(event):
    if focused is None or event.source != focused:
        return
    try:
        kind = event.type
        if kind.startswith("object:property-change:accessible-name"):
            say("said: " + focused.get_name())
        elif kind.startswith("object:property-change:accessible-description"):
            say("said: " + focused.get_description())
        elif kind.startswith("object:state-changed:checked"):
            say("said: " + state_of(focused))
        else:
            say("said: " + value_of(focused))
    except Exception as error:
        say("said: " + str(error).replace("\n", " "))


Atspi.init()
focus_listener = Atspi.EventListener.new(on_focus)
focus_listener.register("object:state-changed:focused")
change_listener = Atspi.EventListener.new(on_change)
for kind in ("object:property-change:accessible-name",
             "object:property-change:accessible-description",
             "object:property-change:accessible-value", "object:value-changed",
             "object:state-changed:checked"):
    change_listener.register(kind)
say("ready")
Atspi.event_main()

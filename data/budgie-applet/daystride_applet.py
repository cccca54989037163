# The time left until the Daystride event, beside the clock symbol, in a Budgie panel
# (whose tray embeds X icons only, which cannot carry text). The text comes from
# `daystride --status --follow --json`, which prints a line whenever the text changes;
# where that command ends (not installed yet, an update), it starts again a little
# later. A click opens the running program's popover: a second start asks the first
# for it.
import json
import os

import gi

gi.require_version("Budgie", "1.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Budgie, Gio, GLib, GObject, Gtk  # noqa: E402

RESTART_SECONDS = 30


class DaystridePlugin(GObject.GObject, Budgie.Plugin):
    __gtype_name__ = "DaystridePlugin"

    def do_get_panel_widget(self, uuid):
        return DaystrideApplet(uuid)


class DaystrideApplet(Budgie.Applet):
    def __init__(self, uuid):
        Budgie.Applet.__init__(self)
        self.process = None
        self.restart = 0
        button = Gtk.Button()
        button.set_relief(Gtk.ReliefStyle.NONE)
        button.connect("clicked", lambda _: self.open_popover())
        row = Gtk.Box(orientation=Gtk.Orientation.HORIZONTAL, spacing=4)
        symbol = os.path.join(os.path.dirname(__file__), "daystride-clock-symbolic.svg")
        icon = Gio.FileIcon.new(Gio.File.new_for_path(symbol))
        row.pack_start(Gtk.Image.new_from_gicon(icon, Gtk.IconSize.MENU), False, False, 0)
        self.label = Gtk.Label(label="")
        row.pack_start(self.label, False, False, 0)
        button.add(row)
        button.set_tooltip_text("Daystride")
        self.button = button
        self.add(button)
        self.show_all()
        self.connect("destroy", lambda _: self.stop())
        self.follow()

    def follow(self):
        self.restart = 0
        try:
            self.process = Gio.Subprocess.new(
                ["daystride", "--status", "--follow", "--json"],
                Gio.SubprocessFlags.STDOUT_PIPE | Gio.SubprocessFlags.STDERR_SILENCE,
            )
        except GLib.Error:
            self.process = None
            self.ended()
            return GLib.SOURCE_REMOVE
        lines = Gio.DataInputStream.new(self.process.get_stdout_pipe())
        lines.read_line_async(GLib.PRIORITY_DEFAULT, None, self.read_line)
        return GLib.SOURCE_REMOVE

    def read_line(self, lines, result):
        try:
            line, _ = lines.read_line_finish_utf8(result)
        except GLib.Error:
            line = None
        if line is None:
            self.ended()
            return
        self.show_status(line)
        lines.read_line_async(GLib.PRIORITY_DEFAULT, None, self.read_line)

    def show_status(self, line):
        try:
            status = json.loads(line)
        except ValueError:
            return
        text = status.get("text", "")
        self.label.set_text(text)
        self.label.set_visible(bool(text))
        self.button.set_tooltip_text(status.get("tooltip") or "Daystride")

    def ended(self):
        self.process = None
        if self.restart == 0:
            self.restart = GLib.timeout_add_seconds(RESTART_SECONDS, self.follow)

    def stop(self):
        if self.restart > 0:
            GLib.source_remove(self.restart)
        self.restart = -1
        if self.process:
            self.process.force_exit()

    def open_popover(self):
        try:
            Gio.Subprocess.new(["daystride"], Gio.SubprocessFlags.NONE)
        except GLib.Error:
            pass

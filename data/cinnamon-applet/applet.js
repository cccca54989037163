// The time left until the Daystride event, beside the clock symbol, in a Cinnamon panel
// (whose XApp status applet shows status notifier items as icons only). The text comes
// from `daystride --status --follow --json`, which prints a line whenever the text
// changes; where that command ends (not installed yet, an update), it starts again a
// little later. A click opens the running program's popover: a second start asks the
// first for it.
const Applet = imports.ui.applet;
const Gio = imports.gi.Gio;
const GLib = imports.gi.GLib;
const Util = imports.misc.util;

const RESTART_SECONDS = 30;

class DaystrideApplet extends Applet.TextIconApplet {
    constructor(metadata, orientation, panelHeight, instanceId) {
        super(orientation, panelHeight, instanceId);
        this.set_applet_icon_symbolic_path(metadata.path + "/clock-symbolic.svg");
        this.set_applet_label("");
        this.set_applet_tooltip("Daystride");
        this.actor.accessible_name = "Daystride";
        this._process = null;
        this._restart = 0;
        this._follow();
    }

    _follow() {
        this._restart = 0;
        try {
            this._process = new Gio.Subprocess({
                argv: ["daystride", "--status", "--follow", "--json"],
                flags: Gio.SubprocessFlags.STDOUT_PIPE | Gio.SubprocessFlags.STDERR_SILENCE,
            });
            this._process.init(null);
        } catch (error) {
            this._process = null;
            this._ended();
            return;
        }
        const lines = new Gio.DataInputStream({ base_stream: this._process.get_stdout_pipe() });
        this._readLine(lines);
    }

    _readLine(lines) {
        lines.read_line_async(GLib.PRIORITY_DEFAULT, null, (stream, result) => {
            let line = null;
            try {
                [line] = stream.read_line_finish_utf8(result);
            } catch (error) {
                line = null;
            }
            if (line === null) {
                this._ended();
                return;
            }
            this._show(line);
            this._readLine(lines);
        });
    }

    _show(line) {
        try {
            const status = JSON.parse(line);
            this.set_applet_label(status.text || "");
            this.set_applet_tooltip(status.tooltip || "Daystride");
            this.actor.accessible_name = status.text || "Daystride";
        } catch (error) {
            this.set_applet_label("");
        }
    }

    _ended() {
        this._process = null;
        if (this._restart === 0)
            this._restart = GLib.timeout_add_seconds(GLib.PRIORITY_DEFAULT, RESTART_SECONDS, () => {
                this._follow();
                return GLib.SOURCE_REMOVE;
            });
    }

    on_applet_clicked() {
        Util.spawn(["daystride"]);
    }

    on_applet_removed_from_panel() {
        if (this._restart !== 0)
            GLib.source_remove(this._restart);
        this._restart = -1;
        if (this._process)
            this._process.force_exit();
    }
}

function main(metadata, orientation, panelHeight, instanceId) {
    return new DaystrideApplet(metadata, orientation, panelHeight, instanceId);
}

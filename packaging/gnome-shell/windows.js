// Velmora Suite's window service inside GNOME Shell: GNOME offers other programs no way to list
// or act on windows, so this extension does it for the program, on the session bus. Shared by
// the extension's two formats (GNOME Shell 43/44 and 45 on), which add their own imports and
// entry point around it.

const BUS_NAME = 'com.quillfern.VelmoraSuite.Windows';
const OBJECT_PATH = '/com/quillfern/VelmoraSuite/Windows';
// Each command takes a window's id and answers whether the window was there.
const COMMANDS = ['Minimize', 'Unminimize', 'Maximize', 'Unmaximize', 'MakeAbove', 'UnmakeAbove',
    'Activate', 'Close'];
const INTERFACE = `<node>
  <interface name="com.quillfern.VelmoraSuite.Windows">
    <method name="List">
      <arg type="a(tsusbbbbb)" direction="out" name="windows"/>
    </method>
    ${COMMANDS.map(name => `<method name="${name}">
      <arg type="t" direction="in" name="id"/>
      <arg type="b" direction="out" name="found"/>
    </method>`).join('\n    ')}
    <signal name="WindowsChanged"/>
  </interface>
</node>`;

// The kinds of window a user sees as a program's window.
const LISTED_TYPES = [Meta.WindowType.NORMAL, Meta.WindowType.DIALOG, Meta.WindowType.MODAL_DIALOG];

// What a window announces when it changes in a way the list shows.
const WINDOW_CHANGES = ['notify::title', 'notify::minimized', 'notify::maximized-horizontally',
    'notify::maximized-vertically', 'notify::above', 'unmanaged'];

function isMaximized(window) {
    // Mutter 49 renamed get_maximized, which told the maximized directions.
    const flags = window.get_maximize_flags ? window.get_maximize_flags() : window.get_maximized();
    return flags !== 0;
}

class WindowsService {
    constructor() {
        this._object = Gio.DBusExportedObject.wrapJSObject(INTERFACE, this);
        this._object.export(Gio.DBus.session, OBJECT_PATH);
        this._nameId = Gio.bus_own_name_on_connection(Gio.DBus.session, BUS_NAME,
            Gio.BusNameOwnerFlags.NONE, null, null);
        this._watched = new Map();  // window: its signal handlers
        this._idleId = null;  // the pending announcement
        this._displaySignals = [
            global.display.connect('window-created', (_display, window) => this._watch(window)),
            global.display.connect('notify::focus-window', () => this._changed()),
            global.display.connect('restacked', () => this._changed()),
        ];
        for (const actor of global.get_window_actors()) this._watch(actor.meta_window);
    }

    destroy() {
        if (this._idleId !== null) GLib.source_remove(this._idleId);
        for (const id of this._displaySignals) global.display.disconnect(id);
        for (const [window, ids] of this._watched) for (const id of ids) window.disconnect(id);
        this._watched.clear();
        Gio.bus_unown_name(this._nameId);
        this._object.unexport();
    }

    // The listed windows, the focused one first, then the others top of the stack first: id,
    // title, process, app id, minimized, maximized, above, off the task bar, focused.
    List() {
        const focused = global.display.focus_window;
        const windows = global.display.sort_windows_by_stacking(
            global.get_window_actors().map(actor => actor.meta_window)
                .filter(window => LISTED_TYPES.includes(window.get_window_type()))).reverse();
        windows.sort((a, b) => (b === focused) - (a === focused));
        return windows.map(window => [window.get_id(), window.get_title() ?? '',
            window.get_pid(), window.get_gtk_application_id() ?? window.get_wm_class() ?? '',
            window.minimized, isMaximized(window), window.is_above(), window.is_skip_taskbar(),
            window === focused]);
    }

    // A window closed meanwhile is left alone.
    Minimize(id) { return this._on(id, window => window.minimize()); }
    Unminimize(id) { return this._on(id, window => window.unminimize()); }
    Maximize(id) {
        return this._on(id, window => {
            if (Meta.MaximizeFlags) window.maximize(Meta.MaximizeFlags.BOTH);
            else window.maximize();
        });
    }
    Unmaximize(id) {
        return this._on(id, window => {
            if (Meta.MaximizeFlags) window.unmaximize(Meta.MaximizeFlags.BOTH);
            else window.unmaximize();
        });
    }
    MakeAbove(id) { return this._on(id, window => window.make_above()); }
    UnmakeAbove(id) { return this._on(id, window => window.unmake_above()); }
    Activate(id) { return this._on(id, window => window.activate(global.get_current_time())); }
    Close(id) { return this._on(id, window => window.delete(global.get_current_time())); }

    // Does `command` to the listed window with this id; false when there is none.
    _on(id, command) {
        const actor = global.get_window_actors().find(a => a.meta_window.get_id() === id);
        if (!actor || !LISTED_TYPES.includes(actor.meta_window.get_window_type())) return false;
        command(actor.meta_window);
        return true;
    }

    _watch(window) {
        if (this._watched.has(window)) return;
        this._watched.set(window, WINDOW_CHANGES.map(signal => window.connect(signal, () => {
            if (signal === 'unmanaged') this._watched.delete(window);
            this._changed();
        })));
        this._changed();
    }

    // Announces changes once the shell is idle: a burst of them is one signal.
    _changed() {
        this._idleId ??= GLib.idle_add(GLib.PRIORITY_DEFAULT_IDLE, () => {
            this._idleId = null;
            this._object.emit_signal('WindowsChanged', null);
            return GLib.SOURCE_REMOVE;
        });
    }
}

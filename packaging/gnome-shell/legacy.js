// GNOME Shell 43 and 44: the extension's imports and entry point around windows.js.
const { Gio, GLib, Meta } = imports.gi;
@WINDOWS@
class WindowsExtension {
    enable() { this._service = new WindowsService(); }
    disable() {
        this._service.destroy();
        this._service = null;
    }
}

function init() {
    return new WindowsExtension();
}

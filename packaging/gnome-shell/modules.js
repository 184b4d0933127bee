// GNOME Shell 45 on: the extension's imports and entry point around windows.js.
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import Meta from 'gi://Meta';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';
@WINDOWS@
export default class WindowsExtension extends Extension {
    enable() { this._service = new WindowsService(); }
    disable() {
        this._service.destroy();
        this._service = null;
    }
}

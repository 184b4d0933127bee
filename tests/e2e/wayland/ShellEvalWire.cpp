#include "ShellEvalWire.h"

#include <gio/gio.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/wayland/Json.h"

namespace e2e {

namespace {

using velmora::Hwnd;
using velmora::wayland::JsonValue;
using velmora::wayland::Toplevel;
using velmora::wayland::ToplevelRequest;

// Every window the shell manages, as JSON: the normal and dialog ones, with their states.
constexpr char kListing[] = R"(global.display.list_all_windows()
    .filter(w => [Meta.WindowType.NORMAL, Meta.WindowType.DIALOG,
                  Meta.WindowType.MODAL_DIALOG].includes(w.get_window_type()))
    .map(w => ({id: w.get_id(), title: w.get_title() ?? '', app: w.get_wm_class() ?? '',
                pid: w.get_pid(), minimized: w.minimized,
                maximized: (w.get_maximize_flags ? w.get_maximize_flags()
                                                 : w.get_maximized()) !== 0,
                above: w.is_above(), focused: w === global.display.focus_window})))";

class ShellEvalWire final : public velmora::wayland::ListingToplevelWire {
public:
    ShellEvalWire() {
        GError* error = nullptr;
        bus_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
        if (bus_ == nullptr) {
            const std::string message = error->message;
            g_error_free(error);
            throw std::runtime_error("no session bus: " + message);
        }
        Roundtrip();
    }
    ~ShellEvalWire() override { g_object_unref(bus_); }

    void Roundtrip() override;
    void Request(Hwnd toplevel, ToplevelRequest request) override;
    bool Offers(ToplevelRequest request) const override {
        return request == ToplevelRequest::Activate;
    }

private:
    // The script's result; throws when the shell refuses or fails it.
    std::string Eval(const std::string& script);

    GDBusConnection* bus_ = nullptr;
};

std::string ShellEvalWire::Eval(const std::string& script) {
    GError* error = nullptr;
    GVariant* answer = g_dbus_connection_call_sync(
        bus_, "org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell", "Eval",
        g_variant_new("(s)", script.c_str()), G_VARIANT_TYPE("(bs)"),
        G_DBUS_CALL_FLAGS_NO_AUTO_START, 5000, nullptr, &error);
    if (answer == nullptr) {
        const std::string message = error->message;
        g_error_free(error);
        throw std::runtime_error("GNOME Shell's Eval failed: " + message);
    }
    gboolean success = FALSE;
    const gchar* result = nullptr;
    g_variant_get(answer, "(b&s)", &success, &result);
    const std::string text = result;
    g_variant_unref(answer);
    if (!success) throw std::runtime_error("GNOME Shell's Eval failed: " + text);
    return text;
}

void ShellEvalWire::Roundtrip() {
    // Eval answers with the script's value as JSON.
    const JsonValue listing = velmora::wayland::ParseJson(Eval(kListing));
    std::vector<std::pair<std::uint64_t, Toplevel>> windows;
    for (const JsonValue& window : listing.items) {
        const auto flag = [&](const char* name, unsigned bit) {
            const JsonValue* value = window.Find(name);
            return value != nullptr && value->boolean ? bit : 0u;
        };
        windows.emplace_back(
            static_cast<std::uint64_t>(window.Find("id")->number),
            Toplevel{.title = window.Find("title")->text,
                     .appId = window.Find("app")->text,
                     .states = flag("minimized", velmora::wayland::kToplevelMinimized) |
                               flag("maximized", velmora::wayland::kToplevelMaximized) |
                               flag("above", velmora::wayland::kToplevelKeepAbove) |
                               flag("focused", velmora::wayland::kToplevelActivated),
                     .pid = static_cast<std::uint32_t>(window.Find("pid")->number)});
    }
    toplevels_.TakeListing(windows);
}

void ShellEvalWire::Request(Hwnd toplevel, ToplevelRequest request) {
    const std::uint64_t key = toplevels_.KeyOf(toplevel);
    if (request != ToplevelRequest::Activate || key == 0) return;
    Eval("global.display.list_all_windows().find(w => w.get_id() === " + std::to_string(key) +
         ")?.activate(global.get_current_time())");
}

}  // namespace

std::unique_ptr<velmora::wayland::ForeignToplevelWire> ConnectShellEval() {
    return std::make_unique<ShellEvalWire>();
}

}  // namespace e2e

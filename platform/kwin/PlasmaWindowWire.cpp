#include "PlasmaWindowWire.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <thread>

#include "KWinScript.h"
#include "plasma-window-management-client-protocol.h"
#include "platform/RuntimeError.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandOwned.h"

namespace velmora::kwin {

namespace {

using namespace wayland;

using Manager = Owned<org_kde_plasma_window_management, org_kde_plasma_window_management_destroy>;
using Window = Owned<org_kde_plasma_window, org_kde_plasma_window_destroy>;

// Windows announced with their UUID and asked for by it came with version 13. Up to version
// 16 KWin sends the whole stacking order in one message, which Wayland's 4096-byte limit cuts
// off at about a hundred windows (KWin then drops the connection); version 17 sends it on
// request instead, and is bound where the system's protocol description has it.
constexpr std::uint32_t kOldestVersion = 13;
#ifdef ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STACKING_ORDER_CHANGED_2_SINCE_VERSION
constexpr std::uint32_t kNewestVersion = 17;
#else
constexpr std::uint32_t kNewestVersion = 16;
#endif

// The protocol's states this backend reads, as the list's bits.
constexpr std::pair<std::uint32_t, unsigned> kStates[] = {
    {ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE, kToplevelActivated},
    {ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_MINIMIZED, kToplevelMinimized},
    {ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_MAXIMIZED, kToplevelMaximized},
    {ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_FULLSCREEN, kToplevelFullscreen},
    {ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_KEEP_ABOVE, kToplevelKeepAbove},
    {ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_SKIPTASKBAR, kToplevelSkipTaskbar},
};

// The script that hides the window KWin knows by `uuid` (minimized and out of the task bar,
// switcher and pager), or shows it again; on Plasma 6's API or Plasma 5's. KWin drops an X11
// window's skip-taskbar state when the window is minimized after it, so the minimized state
// goes first when hiding and last when showing.
std::string HidingScript(std::string_view uuid, bool hide) {
    // KWin's UUIDs are braced hex: anything else is refused rather than put into a script.
    if (uuid.empty() || uuid.find_first_not_of("0123456789abcdefABCDEF{}-") != uuid.npos) {
        throw RuntimeError::InvalidProcedureCall();
    }
    const std::string value = hide ? "true" : "false";
    const std::string minimized = "    window.minimized = " + value + ";\n";
    return "const windows = workspace.windowList ? workspace.windowList()\n"
           "                                     : workspace.clientList();\n"
           "for (const window of windows) {\n"
           "    if (String(window.internalId) !== \"" + std::string(uuid) + "\") continue;\n" +
           (hide ? minimized : "") +
           "    window.skipTaskbar = " + value + ";\n"
           "    window.skipSwitcher = " + value + ";\n"
           "    window.skipPager = " + value + ";\n" +
           (hide ? "" : minimized) +
           "}\n";
}

template <typename... Details>
void Ignore(void*, org_kde_plasma_window*, Details...) {}

class PlasmaWindowWire final : public ConnectedToplevelWire {
public:
    PlasmaWindowWire(Display display, std::chrono::milliseconds replyLimit);
    bool Offered() const { return manager_ != nullptr; }

    void Request(Hwnd toplevel, ToplevelRequest request) override;
    bool Offers(ToplevelRequest request) const override;

private:
    // One window's proxy, and what its events need to find their toplevel. Its changes are
    // taken together once KWin has sent its initial state, then one by one.
    struct Tracked {
        PlasmaWindowWire* wire;
        Hwnd id;
        std::string uuid;
        Window window;
        bool complete = false;
    };

    static void Global(void* data, wl_registry* registry, std::uint32_t name,
                       const char* interface, std::uint32_t version);
    static void Announced(void* data, org_kde_plasma_window_management*, std::uint32_t,
                          const char* uuid);
    static void Title(void* data, org_kde_plasma_window*, const char* title);
    static void AppId(void* data, org_kde_plasma_window*, const char* appId);
    static void States(void* data, org_kde_plasma_window*, std::uint32_t flags);
    static void Pid(void* data, org_kde_plasma_window*, std::uint32_t pid);
    static void Unmapped(void* data, org_kde_plasma_window*);
    static void InitialState(void* data, org_kde_plasma_window*);
    // Applies the changes heard so far once the window's initial state is complete.
    static void Changed(void* data);
    // Hides or shows the window through a script, and waits until KWin reports it done.
    void SetHidden(const Tracked& window, bool hide);

    Manager manager_;
    std::map<Hwnd, std::unique_ptr<Tracked>> windows_;
};

PlasmaWindowWire::PlasmaWindowWire(Display display, std::chrono::milliseconds replyLimit)
    : ConnectedToplevelWire(std::move(display), replyLimit) {
    connection_.ListenForGlobals(Global, this);
    // The windows announced at once, then each one's initial state.
    Roundtrip();
    Roundtrip();
}

void PlasmaWindowWire::Global(void* data, wl_registry* registry, std::uint32_t name,
                              const char* interface, std::uint32_t version) {
    auto* self = static_cast<PlasmaWindowWire*>(data);
    if (std::strcmp(interface, org_kde_plasma_window_management_interface.name) != 0 ||
        self->manager_ || version < kOldestVersion) {
        return;
    }
    self->manager_.reset(static_cast<org_kde_plasma_window_management*>(
        wl_registry_bind(registry, name, &org_kde_plasma_window_management_interface,
                         std::min(version, kNewestVersion))));
    static const org_kde_plasma_window_management_listener listener = {
        .show_desktop_changed = [](void*, org_kde_plasma_window_management*, std::uint32_t) {},
        .window = [](void*, org_kde_plasma_window_management*, std::uint32_t) {},
        .stacking_order_changed = [](void*, org_kde_plasma_window_management*, wl_array*) {},
        .stacking_order_uuid_changed =
            [](void*, org_kde_plasma_window_management*, const char*) {},
        .window_with_uuid = Announced,
#ifdef ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STACKING_ORDER_CHANGED_2_SINCE_VERSION
        .stacking_order_changed_2 = [](void*, org_kde_plasma_window_management*) {},
#endif
    };
    org_kde_plasma_window_management_add_listener(self->manager_.get(), &listener, self);
}

void PlasmaWindowWire::Announced(void* data, org_kde_plasma_window_management* manager,
                                 std::uint32_t, const char* uuid) {
    auto* self = static_cast<PlasmaWindowWire*>(data);
    const Hwnd id = self->toplevels_.Announce();
    auto& tracked = self->windows_[id];
    tracked = std::make_unique<Tracked>(
        Tracked{self, id, uuid, Window(org_kde_plasma_window_management_get_window_by_uuid(manager, uuid))});
    static const org_kde_plasma_window_listener listener = {
        .title_changed = Title,
        .app_id_changed = AppId,
        .state_changed = States,
        .virtual_desktop_changed = Ignore<std::int32_t>,
        .themed_icon_name_changed = Ignore<const char*>,
        .unmapped = Unmapped,
        .initial_state = InitialState,
        .parent_window = Ignore<org_kde_plasma_window*>,
        .geometry = Ignore<std::int32_t, std::int32_t, std::uint32_t, std::uint32_t>,
        .icon_changed = Ignore<>,
        .pid_changed = Pid,
        .virtual_desktop_entered = Ignore<const char*>,
        .virtual_desktop_left = Ignore<const char*>,
        .application_menu = Ignore<const char*, const char*>,
        .activity_entered = Ignore<const char*>,
        .activity_left = Ignore<const char*>,
        .resource_name_changed = Ignore<const char*>};
    org_kde_plasma_window_add_listener(tracked->window.get(), &listener, tracked.get());
}

void PlasmaWindowWire::Changed(void* data) {
    const auto* tracked = static_cast<Tracked*>(data);
    if (tracked->complete) tracked->wire->toplevels_.Done(tracked->id);
}

void PlasmaWindowWire::Title(void* data, org_kde_plasma_window*, const char* title) {
    const auto* tracked = static_cast<Tracked*>(data);
    tracked->wire->toplevels_.SetTitle(tracked->id, title);
    Changed(data);
}

void PlasmaWindowWire::AppId(void* data, org_kde_plasma_window*, const char* appId) {
    const auto* tracked = static_cast<Tracked*>(data);
    tracked->wire->toplevels_.SetAppId(tracked->id, appId);
    Changed(data);
}

void PlasmaWindowWire::States(void* data, org_kde_plasma_window*, std::uint32_t flags) {
    const auto* tracked = static_cast<Tracked*>(data);
    unsigned bits = 0;
    for (const auto& [state, bit] : kStates) {
        if ((flags & state) != 0) bits |= bit;
    }
    tracked->wire->toplevels_.SetStates(tracked->id, bits);
    Changed(data);
}

void PlasmaWindowWire::Pid(void* data, org_kde_plasma_window*, std::uint32_t pid) {
    const auto* tracked = static_cast<Tracked*>(data);
    tracked->wire->toplevels_.SetPid(tracked->id, pid);
    Changed(data);
}

void PlasmaWindowWire::InitialState(void* data, org_kde_plasma_window*) {
    auto* tracked = static_cast<Tracked*>(data);
    tracked->complete = true;
    Changed(data);
}

// Destroys the window's proxy (and with it `data`).
void PlasmaWindowWire::Unmapped(void* data, org_kde_plasma_window*) {
    const auto* tracked = static_cast<Tracked*>(data);
    PlasmaWindowWire* wire = tracked->wire;
    const Hwnd id = tracked->id;
    wire->toplevels_.Closed(id);
    wire->windows_.erase(id);
}

void PlasmaWindowWire::SetHidden(const Tracked& window, bool hide) {
    const Hwnd id = window.id;
    const KWinScript script(HidingScript(window.uuid, hide));
    const auto done = [&] {
        const Toplevel* toplevel = toplevels_.Find(id);
        if (toplevel == nullptr) return true;  // closed meanwhile
        const unsigned hiddenStates = kToplevelSkipTaskbar | kToplevelMinimized;
        return hide ? (toplevel->states & hiddenStates) == hiddenStates
                    : (toplevel->states & hiddenStates) == 0;
    };
    const auto deadline = std::chrono::steady_clock::now() + connection_.limit();
    for (Roundtrip(); !done(); Roundtrip()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            throw RuntimeError::InvalidProcedureCall();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool PlasmaWindowWire::Offers(ToplevelRequest) const { return true; }

void PlasmaWindowWire::Request(Hwnd toplevel, ToplevelRequest request) {
    const auto at = windows_.find(toplevel);
    if (at == windows_.end()) return;
    org_kde_plasma_window* window = at->second->window.get();
    const auto set = [window](std::uint32_t state, bool on) {
        org_kde_plasma_window_set_state(window, state, on ? state : 0);
    };
    switch (request) {
        case ToplevelRequest::SetMaximized:
        case ToplevelRequest::UnsetMaximized:
            set(ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_MAXIMIZED,
                request == ToplevelRequest::SetMaximized);
            break;
        case ToplevelRequest::SetMinimized:
        case ToplevelRequest::UnsetMinimized:
            set(ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_MINIMIZED,
                request == ToplevelRequest::SetMinimized);
            break;
        case ToplevelRequest::UnsetFullscreen:
            set(ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_FULLSCREEN, false);
            break;
        case ToplevelRequest::Activate: set(ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_ACTIVE, true); break;
        case ToplevelRequest::SetKeepAbove:
        case ToplevelRequest::UnsetKeepAbove:
            set(ORG_KDE_PLASMA_WINDOW_MANAGEMENT_STATE_KEEP_ABOVE,
                request == ToplevelRequest::SetKeepAbove);
            break;
        case ToplevelRequest::Close: org_kde_plasma_window_close(window); break;
        case ToplevelRequest::Hide:
        case ToplevelRequest::Show:
            SetHidden(*at->second, request == ToplevelRequest::Hide);
            break;
    }
    connection_.Flush();
}

}  // namespace

std::unique_ptr<ForeignToplevelWire> ConnectPlasmaWindows(std::chrono::milliseconds replyLimit) {
    return ConnectWire<PlasmaWindowWire>(replyLimit);
}

}  // namespace velmora::kwin

#include "SwayWindowSystem.h"

#include <algorithm>
#include <utility>

#include "IpcError.h"
#include "Json.h"
#include "platform/RuntimeError.h"

namespace velmora::wayland {

namespace {

std::string Criteria(Hwnd id) { return "[con_id=" + std::to_string(id) + "] "; }

// What a show command asks of sway; empty for one it cannot carry out. Maximize and Restore
// show a hidden view first, as they do on the other window systems.
std::string ShowCommandFor(const SwayView& view, int showCommand) {
    // Out of the scratchpad onto the current workspace, tiled like a new window.
    const std::string shown = view.inScratchpad ? "scratchpad show, floating disable, " : "";
    switch (showCommand) {
        case kSwHide: return "move scratchpad";
        case kSwShowMaximized: return shown + "fullscreen enable";
        case kSwRestore: return shown + "fullscreen disable";
        default: return {};
    }
}

// Whether a run_command reply says every command was carried out.
bool AllSucceeded(std::string_view reply) {
    const JsonValue results = ParseJson(reply);
    if (!results.Is(JsonValue::Kind::Array) || results.items.empty()) return false;
    return std::all_of(results.items.begin(), results.items.end(), [](const JsonValue& result) {
        const JsonValue* success = result.Find("success");
        return success != nullptr && success->Is(JsonValue::Kind::Bool) && success->boolean;
    });
}

// Runs a talk with sway; a broken connection or reply is the runtime's error, as every other
// window system reports a request it could not make.
template <typename Talk>
auto Reported(Talk&& talk) {
    try {
        return talk();
    } catch (const IpcError&) {
        throw RuntimeError::InvalidProcedureCall();
    }
}

}  // namespace

SwayWindowSystem::SwayWindowSystem(SwayConnection& connection, std::int64_t ownPid)
    : connection_(connection), ownPid_(ownPid) {}

std::vector<SwayView> SwayWindowSystem::Views() {
    return Reported([&] { return ReadViews(connection_.Request(IpcType::GetTree, "")); });
}

void SwayWindowSystem::Run(const std::string& commands) {
    if (!Reported(
            [&] { return AllSucceeded(connection_.Request(IpcType::RunCommand, commands)); })) {
        throw RuntimeError::InvalidProcedureCall();
    }
}

void SwayWindowSystem::RunOnView(Hwnd window, std::string_view commands) {
    try {
        Run(Criteria(window) + std::string(commands));
    } catch (const RuntimeError&) {
        // The view may have closed since the list was read: that is no failure.
        const std::vector<SwayView> views = Views();
        if (std::none_of(views.begin(), views.end(),
                         [window](const SwayView& v) { return v.id == window; })) {
            return;
        }
        throw;
    }
}

Hwnd SwayWindowSystem::GetWindow(Hwnd window, unsigned command) {
    Hwnd next = 0;
    if (command == kGwHwndFirst) {
        std::vector<SwayView> views = Views();
        if (ownOnTopPending_) {
            // Refused, it is reported once the walk is over, so that the list is whole.
            try {
                PlaceOwnViews(views, true);
            } catch (const RuntimeError&) {
                placementFailed_ = true;
            }
        }
        std::erase_if(views, [this](const SwayView& view) { return IsOwn(view); });
        next = walk_.Begin(std::move(views));
    } else if (command == kGwHwndNext) {
        next = walk_.Next(window);
    }
    if (next == 0) {
        EndWalk();
        if (std::exchange(placementFailed_, false)) throw RuntimeError::InvalidProcedureCall();
    }
    return next;
}

void SwayWindowSystem::EndWalk() { walk_.Clear(); }

std::optional<SwayView> SwayWindowSystem::Find(Hwnd window) {
    if (const SwayView* taken = walk_.Find(window)) return *taken;
    for (SwayView& view : Views()) {
        if (view.id == window) return std::move(view);
    }
    return std::nullopt;
}

std::uint32_t SwayWindowSystem::WindowStyle(Hwnd window) {
    const std::optional<SwayView> view = Find(window);
    if (!view) return 0;
    return view->inScratchpad ? kWsBorder : kWsVisible | kWsBorder;
}

std::string SwayWindowSystem::WindowTitle(Hwnd window) {
    const std::optional<SwayView> view = Find(window);
    return view ? view->title : std::string();
}

void SwayWindowSystem::ShowWindow(Hwnd window, int command) {
    const std::optional<SwayView> view = Find(window);
    if (!view) return;
    const std::string commands = ShowCommandFor(*view, command);
    if (!commands.empty()) RunOnView(window, commands);
}

void SwayWindowSystem::ActivateWindow(std::string_view title, Hwnd preferred) {
    const std::vector<SwayView> views = Views();
    const auto carries = [&](const SwayView& v) { return v.title == title && !IsOwn(v); };
    auto target = std::find_if(views.begin(), views.end(),
                               [&](const SwayView& v) { return v.id == preferred && carries(v); });
    if (target == views.end()) target = std::find_if(views.begin(), views.end(), carries);
    if (target == views.end()) throw RuntimeError::InvalidProcedureCall();
    // sway carries the command out before it replies: the view is focused when this returns.
    Run(Criteria(target->id) + "focus");
}

Hwnd SwayWindowSystem::GetForegroundWindow() {
    for (const SwayView& view : Views()) {
        if (view.focused) return view.id;
    }
    return 0;
}

void SwayWindowSystem::SetWindowPos(Hwnd, Hwnd insertAfter, unsigned) {
    if (insertAfter != kHwndTopmost && insertAfter != kHwndBottom) return;
    ownOnTopPending_ = insertAfter == kHwndTopmost;
    PlaceOwnViews(Views(), ownOnTopPending_);
}

bool SwayWindowSystem::PlacePendingOwnViews() {
    if (ownOnTopPending_) PlaceOwnViews(Views(), true);
    return !ownOnTopPending_;
}

void SwayWindowSystem::PlaceOwnViews(const std::vector<SwayView>& views, bool onTop) {
    std::string commands;
    for (const SwayView& view : views) {
        if (!IsOwn(view)) continue;
        if (!commands.empty()) commands += "; ";
        // Floating and sticky: above the tiled views, on every workspace.
        commands += Criteria(view.id) +
                    (onTop ? "floating enable, sticky enable" : "sticky disable, floating disable");
    }
    // Without a view yet, keep-on-top stays pending; regular needs nothing, new views are tiled.
    if (commands.empty()) return;
    ownOnTopPending_ = false;
    Run(commands);
}

void SwayWindowSystem::FocusOwnView() {
    try {
        const std::vector<SwayView> views = Views();
        const auto own = std::find_if(views.begin(), views.end(),
                                      [this](const SwayView& view) { return IsOwn(view); });
        if (own != views.end()) Run(Criteria(own->id) + "focus");
    } catch (const RuntimeError&) {
        // The focus stays where it is; a failing sway is reported by the next command.
    }
}

void SwayWindowSystem::RequestClose(Hwnd window) {
    const std::optional<SwayView> view = Find(window);
    if (!view || IsOwn(*view)) throw RuntimeError::InvalidProcedureCall();
    // Closes exactly this view, as its close button would: the program may ask its user first.
    // A view that closed meanwhile needs no closing.
    RunOnView(window, "kill");
}

bool SwayWindowSystem::Offers(DesktopCommand command) const {
    return command != DesktopCommand::Minimize;
}

}  // namespace velmora::wayland

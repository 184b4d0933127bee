#include "ForeignToplevelWindowSystem.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/RuntimeError.h"

namespace velmora::wayland {

namespace {

constexpr auto kActivationWait = std::chrono::seconds(1);
constexpr auto kActivationPoll = std::chrono::milliseconds(10);

// The session's desktop as it names itself (the first of XDG_CURRENT_DESKTOP's names): the
// protocol does not name the compositor.
std::string SessionDesktopName() {
    const char* names = std::getenv("XDG_CURRENT_DESKTOP");
    const std::string all = names != nullptr ? names : "";
    const std::string first = all.substr(0, all.find(':'));
    return first.empty() ? "this Wayland desktop" : first;
}

}  // namespace

ForeignToplevelWindowSystem::ForeignToplevelWindowSystem(std::unique_ptr<ForeignToplevelWire> wire,
                                                         OwnWindow own)
    : wire_(std::move(wire)), own_(std::move(own)), desktopName_(SessionDesktopName()) {}

ForeignToplevelWindowSystem::~ForeignToplevelWindowSystem() = default;

Hwnd ForeignToplevelWindowSystem::GetWindow(Hwnd window, unsigned command) {
    Hwnd next = 0;
    if (command == kGwHwndFirst) {
        PlaceOwnWindows();
        wire_->Roundtrip();
        next = walk_.Begin(wire_->toplevels().Listed(own_));
    } else if (command == kGwHwndNext) {
        next = walk_.Next(window);
    }
    if (next == 0) EndWalk();
    return next;
}

void ForeignToplevelWindowSystem::EndWalk() { walk_.Clear(); }

const Toplevel* ForeignToplevelWindowSystem::Current(Hwnd window) {
    if (const Toplevel* taken = walk_.Find(window)) return taken;
    wire_->Roundtrip();
    return wire_->toplevels().Find(window);
}

// A minimized toplevel is visible all the same, as minimized windows are elsewhere; one out of
// the task bar is hidden.
std::uint32_t ForeignToplevelWindowSystem::WindowStyle(Hwnd window) {
    const Toplevel* toplevel = Current(window);
    if (toplevel == nullptr) return 0;
    return (toplevel->states & kToplevelSkipTaskbar) != 0 ? kWsBorder : kWsVisible | kWsBorder;
}

std::string ForeignToplevelWindowSystem::WindowTitle(Hwnd window) {
    const Toplevel* toplevel = Current(window);
    return toplevel != nullptr ? toplevel->title : std::string();
}

void ForeignToplevelWindowSystem::ShowWindow(Hwnd window, int command) {
    // As last heard: a toplevel closed since is left alone by the wire.
    const Toplevel* toplevel = wire_->toplevels().Find(window);
    if (toplevel == nullptr) return;
    const bool hidden = (toplevel->states & kToplevelSkipTaskbar) != 0;
    const auto request = [&](ToplevelRequest wanted) {
        if (wire_->Offers(wanted)) wire_->Request(window, wanted);
    };
    switch (command) {
        case kSwHide:
            // Where the compositor has no hidden state, minimized is as near as it gets.
            wire_->Request(window, wire_->Offers(ToplevelRequest::Hide)
                                       ? ToplevelRequest::Hide
                                       : ToplevelRequest::SetMinimized);
            break;
        case kSwMinimize: wire_->Request(window, ToplevelRequest::SetMinimized); break;
        case kSwShowMaximized:
            // Maximize shows a minimized (hidden) window, as it does elsewhere.
            if (hidden) request(ToplevelRequest::Show);
            wire_->Request(window, ToplevelRequest::UnsetMinimized);
            wire_->Request(window, ToplevelRequest::SetMaximized);
            break;
        case kSwRestore:
            if (hidden) request(ToplevelRequest::Show);
            wire_->Request(window, ToplevelRequest::UnsetMinimized);
            wire_->Request(window, ToplevelRequest::UnsetMaximized);
            request(ToplevelRequest::UnsetFullscreen);
            // Restored all the same where there is no seat to focus it.
            request(ToplevelRequest::Activate);
            break;
        default: break;
    }
}

void ForeignToplevelWindowSystem::ActivateWindow(std::string_view title, Hwnd preferred) {
    wire_->Roundtrip();
    const ForeignToplevelList& toplevels = wire_->toplevels();
    Hwnd target = 0;
    const Toplevel* wanted = toplevels.Find(preferred);
    if (wanted != nullptr && wanted->title == title && !own_.Is(*wanted)) {
        target = preferred;
    } else {
        for (const Toplevel& toplevel : toplevels.Listed(own_)) {
            if (toplevel.title == title) {
                target = toplevel.id;
                break;
            }
        }
    }
    if (target == 0) throw RuntimeError::InvalidProcedureCall();
    wire_->Request(target, ToplevelRequest::Activate);
    // The compositor answers asynchronously; callers look at the result right after.
    const auto deadline = std::chrono::steady_clock::now() + kActivationWait;
    for (;;) {
        wire_->Roundtrip();
        const Toplevel* now = toplevels.Find(target);
        if (now == nullptr || (now->states & kToplevelActivated) != 0 ||
            std::chrono::steady_clock::now() >= deadline) {
            return;
        }
        std::this_thread::sleep_for(kActivationPoll);
    }
}

Hwnd ForeignToplevelWindowSystem::GetForegroundWindow() {
    wire_->Roundtrip();
    return wire_->toplevels().Activated();
}

void ForeignToplevelWindowSystem::SetWindowPos(Hwnd, Hwnd insertAfter, unsigned) {
    if (!wire_->Offers(ToplevelRequest::SetKeepAbove)) throw RuntimeError::InvalidProcedureCall();
    if (insertAfter != kHwndTopmost && insertAfter != kHwndBottom) return;
    ownOnTopPending_ = insertAfter == kHwndTopmost;
    PlaceOwnWindows();
}

// The program's window may not be shown yet: a keep-on-top asked for before is placed once
// it is, at the next walk.
void ForeignToplevelWindowSystem::PlaceOwnWindows() {
    if (!ownOnTopPending_) return;
    wire_->Roundtrip();
    bool placed = false;
    // Every titled toplevel: no window is left out of this listing.
    for (const Toplevel& toplevel : wire_->toplevels().Listed(OwnWindow{})) {
        if (!own_.Is(toplevel)) continue;
        wire_->Request(toplevel.id, *ownOnTopPending_ ? ToplevelRequest::SetKeepAbove
                                                      : ToplevelRequest::UnsetKeepAbove);
        placed = true;
    }
    if (placed) ownOnTopPending_.reset();
}

void ForeignToplevelWindowSystem::RequestClose(Hwnd window) {
    wire_->Roundtrip();
    const Toplevel* toplevel = wire_->toplevels().Find(window);
    if (toplevel == nullptr || own_.Is(*toplevel)) throw RuntimeError::InvalidProcedureCall();
    wire_->Request(window, ToplevelRequest::Close);
}

}  // namespace velmora::wayland

#include "WlrToplevelWire.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "WaylandOwned.h"
#include "WaylandConnection.h"
#include "platform/RuntimeError.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

namespace velmora::wayland {

namespace {

using Seat = Owned<wl_seat, wl_seat_destroy>;
using Manager = Owned<zwlr_foreign_toplevel_manager_v1, zwlr_foreign_toplevel_manager_v1_destroy>;
using Handle = Owned<zwlr_foreign_toplevel_handle_v1, zwlr_foreign_toplevel_handle_v1_destroy>;

// The newest version whose requests and events this backend knows.
constexpr std::uint32_t kManagerVersion = 3;

class WlrToplevelWire final : public ConnectedToplevelWire {
public:
    WlrToplevelWire(Display display, std::chrono::milliseconds replyLimit);
    // Whether the compositor announced the manager.
    bool Offered() const { return version_ != 0; }

    void Request(Hwnd toplevel, ToplevelRequest request) override;
    bool Offers(ToplevelRequest request) const override;

private:
    // One handle's proxy, and what its events need to find their toplevel.
    struct Tracked {
        WlrToplevelWire* wire;
        Hwnd id;
        Handle handle;
    };

    static void Global(void* data, wl_registry* registry, std::uint32_t name,
                       const char* interface, std::uint32_t version);
    static void Announced(void* data, zwlr_foreign_toplevel_manager_v1*,
                          zwlr_foreign_toplevel_handle_v1* handle);
    static void Finished(void* data, zwlr_foreign_toplevel_manager_v1*);
    static void Title(void* data, zwlr_foreign_toplevel_handle_v1*, const char* title);
    static void AppId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId);
    static void OutputEnter(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
    static void OutputLeave(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
    static void States(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states);
    static void Done(void* data, zwlr_foreign_toplevel_handle_v1*);
    static void Closed(void* data, zwlr_foreign_toplevel_handle_v1*);
    static void Parent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

    Seat seat_;
    Manager manager_;
    std::uint32_t version_ = 0;  // the manager's, which its handles share
    std::map<Hwnd, std::unique_ptr<Tracked>> handles_;
};

WlrToplevelWire::WlrToplevelWire(Display display, std::chrono::milliseconds replyLimit)
    : ConnectedToplevelWire(std::move(display), replyLimit) {
    connection_.ListenForGlobals(Global, this);
    // The toplevels the manager announces at once with their details.
    Roundtrip();
}

void WlrToplevelWire::Global(void* data, wl_registry* registry, std::uint32_t name,
                             const char* interface, std::uint32_t version) {
    auto* self = static_cast<WlrToplevelWire*>(data);
    if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0 &&
        !self->manager_) {
        self->version_ = std::min(version, kManagerVersion);
        self->manager_.reset(static_cast<zwlr_foreign_toplevel_manager_v1*>(wl_registry_bind(
            registry, name, &zwlr_foreign_toplevel_manager_v1_interface, self->version_)));
        static const zwlr_foreign_toplevel_manager_v1_listener listener = {
            .toplevel = Announced, .finished = Finished};
        zwlr_foreign_toplevel_manager_v1_add_listener(self->manager_.get(), &listener, self);
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self->seat_) {
        // Version 1 has all activation needs.
        self->seat_.reset(
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1)));
    }
}

void WlrToplevelWire::Announced(void* data, zwlr_foreign_toplevel_manager_v1*,
                                zwlr_foreign_toplevel_handle_v1* handle) {
    auto* self = static_cast<WlrToplevelWire*>(data);
    const Hwnd id = self->toplevels_.Announce();
    auto& tracked = self->handles_[id];
    tracked = std::make_unique<Tracked>(Tracked{self, id, Handle(handle)});
    static const zwlr_foreign_toplevel_handle_v1_listener listener = {
        .title = Title,
        .app_id = AppId,
        .output_enter = OutputEnter,
        .output_leave = OutputLeave,
        .state = States,
        .done = Done,
        .closed = Closed,
        .parent = Parent};
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &listener, tracked.get());
}

// The compositor has destroyed the manager; the toplevels known stay until they close.
void WlrToplevelWire::Finished(void* data, zwlr_foreign_toplevel_manager_v1*) {
    static_cast<WlrToplevelWire*>(data)->manager_.reset();
}

void WlrToplevelWire::Title(void* data, zwlr_foreign_toplevel_handle_v1*, const char* title) {
    const auto* tracked = static_cast<Tracked*>(data);
    tracked->wire->toplevels_.SetTitle(tracked->id, title);
}

void WlrToplevelWire::AppId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId) {
    const auto* tracked = static_cast<Tracked*>(data);
    tracked->wire->toplevels_.SetAppId(tracked->id, appId);
}

void WlrToplevelWire::States(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
    const auto* tracked = static_cast<Tracked*>(data);
    const auto* values = static_cast<const std::uint32_t*>(states->data);
    unsigned bits = 0;
    for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
        switch (values[i]) {
            case ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MAXIMIZED: bits |= kToplevelMaximized; break;
            case ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED: bits |= kToplevelMinimized; break;
            case ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED: bits |= kToplevelActivated; break;
            case ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_FULLSCREEN:
                bits |= kToplevelFullscreen;
                break;
            default: break;  // a state of a later version
        }
    }
    tracked->wire->toplevels_.SetStates(tracked->id, bits);
}

void WlrToplevelWire::Done(void* data, zwlr_foreign_toplevel_handle_v1*) {
    const auto* tracked = static_cast<Tracked*>(data);
    tracked->wire->toplevels_.Done(tracked->id);
}

// Destroys the handle (and with it `data`).
void WlrToplevelWire::Closed(void* data, zwlr_foreign_toplevel_handle_v1*) {
    const auto* tracked = static_cast<Tracked*>(data);
    WlrToplevelWire* wire = tracked->wire;
    const Hwnd id = tracked->id;
    wire->toplevels_.Closed(id);
    wire->handles_.erase(id);
}

bool WlrToplevelWire::Offers(ToplevelRequest request) const {
    switch (request) {
        case ToplevelRequest::UnsetFullscreen:
            return version_ >= ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_UNSET_FULLSCREEN_SINCE_VERSION;
        // Activation is for a seat; a compositor without one has no focus to give.
        case ToplevelRequest::Activate: return seat_ != nullptr;
        // The protocol has no stacking and no hidden state.
        case ToplevelRequest::SetKeepAbove:
        case ToplevelRequest::UnsetKeepAbove:
        case ToplevelRequest::Hide:
        case ToplevelRequest::Show: return false;
        default: return true;
    }
}

void WlrToplevelWire::Request(Hwnd toplevel, ToplevelRequest request) {
    if (!Offers(request)) throw RuntimeError::InvalidProcedureCall();
    const auto at = handles_.find(toplevel);
    if (at == handles_.end()) return;
    zwlr_foreign_toplevel_handle_v1* handle = at->second->handle.get();
    switch (request) {
        case ToplevelRequest::SetMaximized:
            zwlr_foreign_toplevel_handle_v1_set_maximized(handle);
            break;
        case ToplevelRequest::UnsetMaximized:
            zwlr_foreign_toplevel_handle_v1_unset_maximized(handle);
            break;
        case ToplevelRequest::SetMinimized:
            zwlr_foreign_toplevel_handle_v1_set_minimized(handle);
            break;
        case ToplevelRequest::UnsetMinimized:
            zwlr_foreign_toplevel_handle_v1_unset_minimized(handle);
            break;
        case ToplevelRequest::UnsetFullscreen:
            zwlr_foreign_toplevel_handle_v1_unset_fullscreen(handle);
            break;
        case ToplevelRequest::Activate:
            zwlr_foreign_toplevel_handle_v1_activate(handle, seat_.get());
            break;
        case ToplevelRequest::Close: zwlr_foreign_toplevel_handle_v1_close(handle); break;
        default: break;  // not offered
    }
    connection_.Flush();
}

}  // namespace

std::unique_ptr<ForeignToplevelWire> ConnectWlrToplevels(std::chrono::milliseconds replyLimit) {
    return ConnectWire<WlrToplevelWire>(replyLimit);
}

}  // namespace velmora::wayland

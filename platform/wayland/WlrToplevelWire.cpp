#include "WlrToplevelWire.h"

#include <poll.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include "WaylandOwned.h"
#include "platform/RuntimeError.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

namespace velmora::wayland {

namespace {

using Seat = Owned<wl_seat, wl_seat_destroy>;
using Manager = Owned<zwlr_foreign_toplevel_manager_v1, zwlr_foreign_toplevel_manager_v1_destroy>;
using Handle = Owned<zwlr_foreign_toplevel_handle_v1, zwlr_foreign_toplevel_handle_v1_destroy>;
using Callback = Owned<wl_callback, wl_callback_destroy>;
using Deadline = std::chrono::steady_clock::time_point;

// The newest version whose requests and events this backend knows.
constexpr std::uint32_t kManagerVersion = 3;

// Takes in events as they arrive until `answered` holds. False when the connection fails or
// `deadline` passes first.
bool TakeInUntil(wl_display* display, const bool& answered, Deadline deadline) {
    for (;;) {
        if (wl_display_dispatch_pending(display) < 0) return false;
        if (answered) return true;
        if (wl_display_prepare_read(display) != 0) continue;
        // Requests the socket cannot take yet wait until it drains.
        short wanted = POLLIN;
        if (wl_display_flush(display) < 0) {
            if (errno != EAGAIN) {
                wl_display_cancel_read(display);
                return false;
            }
            wanted |= POLLOUT;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            wl_display_cancel_read(display);
            return false;
        }
        pollfd watch{wl_display_get_fd(display), wanted, 0};
        const int ready = ::poll(&watch, 1, static_cast<int>(left.count()));
        if (ready > 0 && (watch.revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            if (wl_display_read_events(display) < 0) return false;
        } else {
            wl_display_cancel_read(display);
            if (ready < 0 && errno != EINTR) return false;
        }
    }
}

class WlrToplevelWire final : public ForeignToplevelWire {
public:
    WlrToplevelWire(Display display, std::chrono::milliseconds replyLimit);
    ~WlrToplevelWire() override;
    // Whether the compositor announced the manager.
    bool Offered() const { return version_ != 0; }

    const ForeignToplevelList& toplevels() const override { return toplevels_; }
    void Roundtrip() override;
    int EventSocket() const override { return wl_display_get_fd(display_.get()); }
    bool TakeInArrived() override;
    void Request(Hwnd toplevel, ToplevelRequest request) override;
    bool OffersFullscreen() const override {
        return version_ >= ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_UNSET_FULLSCREEN_SINCE_VERSION;
    }
    bool OffersActivation() const override { return seat_ != nullptr; }

private:
    // One handle's proxy, and what its events need to find their toplevel.
    struct Tracked {
        WlrToplevelWire* wire;
        Hwnd id;
        Handle handle;
    };

    static void Global(void* data, wl_registry* registry, std::uint32_t name,
                       const char* interface, std::uint32_t version);
    static void GlobalRemove(void*, wl_registry*, std::uint32_t) {}
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

    std::chrono::milliseconds replyLimit_;
    // Declared before the proxies, so that every proxy goes before the connection.
    Display display_;
    Registry registry_;
    Seat seat_;
    Manager manager_;
    std::uint32_t version_ = 0;  // the manager's, which its handles share
    std::map<Hwnd, std::unique_ptr<Tracked>> handles_;
    ForeignToplevelList toplevels_;
};

WlrToplevelWire::WlrToplevelWire(Display display, std::chrono::milliseconds replyLimit)
    : replyLimit_(replyLimit),
      display_(std::move(display)),
      registry_(wl_display_get_registry(display_.get())) {
    static const wl_registry_listener listener = {.global = Global, .global_remove = GlobalRemove};
    wl_registry_add_listener(registry_.get(), &listener, this);
    // The globals, then the toplevels the manager announces at once with their details.
    Roundtrip();
    Roundtrip();
}

// A compositor drops what a closed connection left unread: the last requests are taken
// before the connection goes, unless it has failed or stalled.
WlrToplevelWire::~WlrToplevelWire() {
    try {
        Roundtrip();
    } catch (const RuntimeError&) {
    }
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

void WlrToplevelWire::Roundtrip() {
    bool answered = false;
    static const wl_callback_listener listener = {
        .done = [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }};
    const Callback sync(wl_display_sync(display_.get()));
    wl_callback_add_listener(sync.get(), &listener, &answered);
    if (!TakeInUntil(display_.get(), answered, std::chrono::steady_clock::now() + replyLimit_)) {
        throw RuntimeError::InvalidProcedureCall();
    }
}

bool WlrToplevelWire::TakeInArrived() {
    wl_display* display = display_.get();
    while (wl_display_prepare_read(display) != 0) {
        if (wl_display_dispatch_pending(display) < 0) return false;
    }
    pollfd watch{wl_display_get_fd(display), POLLIN, 0};
    if (::poll(&watch, 1, 0) > 0) {
        if (wl_display_read_events(display) < 0) return false;
    } else {
        wl_display_cancel_read(display);
    }
    return wl_display_dispatch_pending(display) >= 0;
}

void WlrToplevelWire::Request(Hwnd toplevel, ToplevelRequest request) {
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
            if (!OffersFullscreen()) throw RuntimeError::InvalidProcedureCall();
            zwlr_foreign_toplevel_handle_v1_unset_fullscreen(handle);
            break;
        case ToplevelRequest::Activate:
            // Activation is for a seat; a compositor without one has no focus to give.
            if (!seat_) throw RuntimeError::InvalidProcedureCall();
            zwlr_foreign_toplevel_handle_v1_activate(handle, seat_.get());
            break;
        case ToplevelRequest::Close: zwlr_foreign_toplevel_handle_v1_close(handle); break;
    }
    if (wl_display_flush(display_.get()) < 0 && errno != EAGAIN) {
        throw RuntimeError::InvalidProcedureCall();
    }
}

}  // namespace

std::unique_ptr<ForeignToplevelWire> ConnectWlrToplevels(std::chrono::milliseconds replyLimit) {
    Display display(wl_display_connect(nullptr));
    if (!display) return nullptr;
    try {
        auto wire = std::make_unique<WlrToplevelWire>(std::move(display), replyLimit);
        if (wire->Offered()) return wire;
    } catch (const RuntimeError&) {
        // A compositor that fails this early is as good as none.
    }
    return nullptr;
}

}  // namespace velmora::wayland

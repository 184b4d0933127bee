#pragma once
// A connection of the program's own to the session's compositor for watching other programs'
// windows: its globals, and its events taken in within a time limit, so that a compositor that
// stalls never hangs the program.

#include <wayland-client.h>

#include <chrono>
#include <memory>

#include "ForeignToplevelWire.h"
#include "WaylandOwned.h"
#include "platform/RuntimeError.h"

namespace velmora::wayland {

class WaylandConnection {
public:
    using OnGlobal = void (*)(void* data, wl_registry* registry, std::uint32_t name,
                              const char* interface, std::uint32_t version);

    // `limit` bounds every round trip.
    WaylandConnection(Display display, std::chrono::milliseconds limit);
    // Takes the last requests before the connection goes (a compositor drops what a closed
    // connection left unread), unless it has failed or stalled.
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* display() const { return display_.get(); }
    std::chrono::milliseconds limit() const { return limit_; }
    // Hands each global the compositor announces, now and later, to `onGlobal` with `data`,
    // and takes in the announcements.
    void ListenForGlobals(OnGlobal onGlobal, void* data);
    // Sends the requests made so far and takes in every event the compositor sent before it
    // answered. Throws RuntimeError when the connection has failed or no answer came in time.
    void Roundtrip();
    // The socket, readable when events have arrived.
    int EventSocket() const { return wl_display_get_fd(display_.get()); }
    // Takes in the events that have arrived, without waiting; false once the connection failed.
    bool TakeInArrived();
    // Sends the requests made so far; those the socket cannot take yet go with the next round
    // trip. Throws RuntimeError when the connection has failed.
    void Flush();

private:
    std::chrono::milliseconds limit_;
    Display display_;
    // wl_registry_destroy is inline in each file: a pointer to it, not a type named after it.
    std::unique_ptr<wl_registry, void (*)(wl_registry*)> registry_;
    wl_registry_listener listener_{};
};

// A wire over a connection of its own: the toplevels its events describe, taken in from the
// connection. The connection outlives the subclass's proxies.
class ConnectedToplevelWire : public ForeignToplevelWire {
public:
    const ForeignToplevelList& toplevels() const override { return toplevels_; }
    void Roundtrip() override { connection_.Roundtrip(); }
    int EventSocket() const override { return connection_.EventSocket(); }
    bool TakeInArrived() override { return connection_.TakeInArrived(); }

protected:
    ConnectedToplevelWire(Display display, std::chrono::milliseconds limit)
        : connection_(std::move(display), limit) {}

    WaylandConnection connection_;
    ForeignToplevelList toplevels_;
};

// Connects to the session's compositor (WAYLAND_DISPLAY) with a `Wire` over the connection;
// nullptr when there is no compositor, the wire finds nothing it needs offered, or the
// compositor does not answer within `limit` (then as good as none).
template <typename Wire>
std::unique_ptr<Wire> ConnectWire(std::chrono::milliseconds limit) {
    Display display(wl_display_connect(nullptr));
    if (!display) return nullptr;
    try {
        auto wire = std::make_unique<Wire>(std::move(display), limit);
        if (wire->Offered()) return wire;
    } catch (const RuntimeError&) {
    }
    return nullptr;
}

}  // namespace velmora::wayland

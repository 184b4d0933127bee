#include "WaylandConnection.h"

#include <poll.h>

#include <cerrno>

namespace velmora::wayland {

namespace {

using Callback = Owned<wl_callback, wl_callback_destroy>;
using Deadline = std::chrono::steady_clock::time_point;

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

}  // namespace

WaylandConnection::WaylandConnection(Display display, std::chrono::milliseconds limit)
    : limit_(limit),
      display_(std::move(display)),
      registry_(wl_display_get_registry(display_.get()), wl_registry_destroy) {}

WaylandConnection::~WaylandConnection() {
    // The listener's owner is going: no global may reach it any more.
    registry_.reset();
    try {
        Roundtrip();
    } catch (const RuntimeError&) {
    }
}

void WaylandConnection::ListenForGlobals(OnGlobal onGlobal, void* data) {
    listener_ = {.global = onGlobal,
                 .global_remove = [](void*, wl_registry*, std::uint32_t) {}};
    wl_registry_add_listener(registry_.get(), &listener_, data);
    Roundtrip();
}

void WaylandConnection::Roundtrip() {
    bool answered = false;
    static const wl_callback_listener listener = {
        .done = [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }};
    const Callback sync(wl_display_sync(display()));
    wl_callback_add_listener(sync.get(), &listener, &answered);
    if (!TakeInUntil(display(), answered, std::chrono::steady_clock::now() + limit_)) {
        throw RuntimeError::InvalidProcedureCall();
    }
}

bool WaylandConnection::TakeInArrived() {
    wl_display* display = this->display();
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

void WaylandConnection::Flush() {
    if (wl_display_flush(display()) < 0 && errno != EAGAIN) {
        throw RuntimeError::InvalidProcedureCall();
    }
}

}  // namespace velmora::wayland

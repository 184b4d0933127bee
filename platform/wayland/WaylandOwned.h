#pragma once
// Owning handles for Wayland objects: each is destroyed with its own request (or the display
// disconnected) when its owner goes.

#include <wayland-client.h>

#include <memory>

namespace velmora::wayland {

template <auto Destroy>
struct Destroyer {
    template <typename T>
    void operator()(T* object) const {
        Destroy(object);
    }
};

// A Wayland object destroyed with `Destroy` when its owner goes.
template <typename T, auto Destroy>
using Owned = std::unique_ptr<T, Destroyer<Destroy>>;

using Display = Owned<wl_display, wl_display_disconnect>;
using Registry = Owned<wl_registry, wl_registry_destroy>;

}  // namespace velmora::wayland

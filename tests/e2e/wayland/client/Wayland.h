#pragma once
// Owning handles for the Wayland objects the test client makes.

#include "platform/wayland/WaylandOwned.h"
#include "xdg-shell-client-protocol.h"

namespace wlclient {

using velmora::wayland::Display;
using velmora::wayland::Owned;
using velmora::wayland::Registry;
using Compositor = Owned<wl_compositor, wl_compositor_destroy>;
using Shm = Owned<wl_shm, wl_shm_destroy>;
using WmBase = Owned<xdg_wm_base, xdg_wm_base_destroy>;
using Surface = Owned<wl_surface, wl_surface_destroy>;
using XdgSurface = Owned<xdg_surface, xdg_surface_destroy>;
using XdgToplevel = Owned<xdg_toplevel, xdg_toplevel_destroy>;
using ShmPool = Owned<wl_shm_pool, wl_shm_pool_destroy>;
using Buffer = Owned<wl_buffer, wl_buffer_destroy>;

}  // namespace wlclient

#pragma once
// What the backend knows about one top-level window, read in one pipelined batch.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "XState.h"

namespace velmora::x11 {

struct WindowFacts {
    xcb_window_t window = 0;
    bool exists = false;
    std::uint32_t style = 0;  // synthesised kWsVisible | kWsBorder bits
    std::string title;        // UTF-8
};

// The programs' top-level windows from the top of the z-order down: the window manager's
// clients, or the root's children when no window manager keeps a client list.
struct TopLevels {
    std::vector<xcb_window_t> windows;
    // From the window manager's client list: every one is open, shown or not (minimized, or
    // on another workspace); a window withdrawn by its program leaves the list.
    bool managed = false;
};
TopLevels ClientsTopFirst(XState& x);

// Reads the facts of every window with all requests sent before the first reply is awaited,
// so the whole batch costs about one round trip (two when some window has only WM_NAME).
// Windows of a managed client list count as shown whatever their map state.
std::vector<WindowFacts> ReadWindowFacts(XState& x, std::span<const xcb_window_t> windows,
                                         bool managed = false);

// A window property of 32-bit items (atoms, windows, cardinals); empty when unset.
std::vector<std::uint32_t> ReadCardinals(XState& x, xcb_window_t window, xcb_atom_t property,
                                         xcb_atom_t type);

}  // namespace velmora::x11

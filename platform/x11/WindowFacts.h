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

// Reads the facts of every window with all requests sent before the first reply is awaited,
// so the whole batch costs about one round trip (two when some window has only WM_NAME).
std::vector<WindowFacts> ReadWindowFacts(XState& x, std::span<const xcb_window_t> windows);

// The programs' top-level windows from the top of the z-order down: the window manager's
// clients, or the root's children when no window manager keeps a client list.
std::vector<xcb_window_t> ClientsTopFirst(XState& x);

// A window property of 32-bit items (atoms, windows, cardinals); empty when unset.
std::vector<std::uint32_t> ReadCardinals(XState& x, xcb_window_t window, xcb_atom_t property,
                                         xcb_atom_t type);

}  // namespace velmora::x11

#pragma once
// The Xlib display, its XCB connection and the atoms the backend uses. X11 translation units
// only: Xlib's macros must never reach Qt code.

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::x11 {

enum class Atom : std::uint8_t {
    NetClientListStacking,
    NetClientList,
    NetActiveWindow,
    NetRestackWindow,
    NetCloseWindow,
    NetWmName,
    NetWmState,
    NetWmStateHidden,
    NetWmStateMaximizedVert,
    NetWmStateMaximizedHorz,
    NetWmStateAbove,
    NetWmStateBelow,
    NetWmStateSkipTaskbar,
    NetWmWindowType,
    NetWmWindowTypeNormal,
    NetWmWindowTypeDialog,
    MotifWmHints,
    WmState,
    WmProtocols,
    WmDeleteWindow,
    WmTakeFocus,
    Utf8String,
    Count,
};

// The atom of `name` on the server behind `connection`; XCB_ATOM_NONE when it cannot be had.
xcb_atom_t InternAtom(xcb_connection_t* connection, const std::string& name);

struct XState {
    ::Display* display = nullptr;
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
    std::vector<xcb_atom_t> atoms;

    xcb_atom_t atom(Atom which) const { return atoms[static_cast<std::size_t>(which)]; }
    // Interns a name the fixed table does not hold.
    xcb_atom_t intern(const std::string& name) { return InternAtom(connection, name); }
};

}  // namespace velmora::x11

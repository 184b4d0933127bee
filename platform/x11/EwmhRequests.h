#pragma once
// Requests to the window manager in the EWMH and ICCCM vocabulary.

#include "XState.h"

namespace velmora::x11 {

inline constexpr std::uint32_t kStateRemove = 0;
inline constexpr std::uint32_t kStateAdd = 1;

// Asks the window manager to change one or two _NET_WM_STATE atoms of a mapped window; on a
// window it does not manage (not yet mapped) the property itself is edited.
void ChangeWmState(XState& x, xcb_window_t window, std::uint32_t action, xcb_atom_t first,
                   xcb_atom_t second);
// Asks for the window to become the active one, as a pager would (source indication 2).
void RequestActivation(XState& x, xcb_window_t window);
void Iconify(XState& x, xcb_window_t window);
// Takes the window off the screen and out of the window manager's hands.
void Withdraw(XState& x, xcb_window_t window);
void Map(XState& x, xcb_window_t window);
// Puts the window below every other window.
void Lower(XState& x, xcb_window_t window);
// Puts the window above its siblings, for when no window manager stacks it.
void Raise(XState& x, xcb_window_t window);
// Whether a window manager holds the window now: mapped or iconic, not withdrawn.
bool IsManaged(XState& x, xcb_window_t window);
// Whether the client takes the keyboard focus when offered it (WM_HINTS input, or
// WM_TAKE_FOCUS); a window manager never makes any other window the active one.
bool TakesFocus(XState& x, xcb_window_t window);
// Asks the window manager to close the window as its close button would.
void RequestWmClose(XState& x, xcb_window_t window);
// Asks the client itself to close the window, the ICCCM way; false when it does not offer
// WM_DELETE_WINDOW.
bool SendDeleteWindow(XState& x, xcb_window_t window);

}  // namespace velmora::x11

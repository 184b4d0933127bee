#pragma once
// Which compositor the session's own Wayland display belongs to, told by the process that
// serves a socket: a $SWAYSOCK inherited from another session (a nested compositor, an X11
// session that imported it, an i3) must not be taken for this desktop's.

#include <string>

namespace velmora::wayland {

// The socket of the session's Wayland display: $WAYLAND_DISPLAY, under $XDG_RUNTIME_DIR unless
// it is a path; empty when the session has none.
std::string WaylandDisplaySocketPath();

// Whether one process serves both Unix sockets (their peers' credentials); false when either
// cannot be reached at once.
bool ServedByOneProcess(const std::string& socketPath, const std::string& otherSocketPath);

}  // namespace velmora::wayland

#pragma once
// The connection to KWin for its window-management protocol, the one Plasma's own task
// manager uses. No Wayland type appears here: Qt translation units include this header.

#include <chrono>
#include <memory>

#include "platform/wayland/ForeignToplevelWire.h"
#include "platform/wayland/IpcError.h"

namespace velmora::kwin {

// A connection of its own to the session's compositor (WAYLAND_DISPLAY) with the windows it
// has announced so far; nullptr when there is no compositor, it does not offer the protocol
// to this program (KWin offers it only to programs installed to ask for it), or it does not
// answer within `replyLimit`, which bounds every round trip of the connection after.
std::unique_ptr<wayland::ForeignToplevelWire> ConnectPlasmaWindows(
    std::chrono::milliseconds replyLimit = wayland::kCompositorReplyLimit);

}  // namespace velmora::kwin

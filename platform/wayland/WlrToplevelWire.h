#pragma once
// The connection to the session's wlroots compositor for foreign-toplevel management. No
// Wayland type appears here: Qt translation units include this header.

#include <chrono>
#include <memory>

#include "IpcError.h"

#include "ForeignToplevelWire.h"

namespace velmora::wayland {

// A connection of its own to the session's compositor (WAYLAND_DISPLAY) with the toplevels
// it has announced so far; nullptr when there is no compositor or it does not offer
// foreign-toplevel management, or does not answer within `replyLimit`, which bounds every
// round trip of the connection after.
std::unique_ptr<ForeignToplevelWire> ConnectWlrToplevels(
    std::chrono::milliseconds replyLimit = kCompositorReplyLimit);

}  // namespace velmora::wayland

#pragma once
// A failure talking to the compositor: a broken or silent connection, or a reply that is not
// what the protocol promises. The window system turns it into the runtime's error.

#include <chrono>
#include <stdexcept>

namespace velmora::wayland {

// How long the compositor may take to answer one request before it counts as failed: a stalled
// compositor turns into an error report, never a frozen program.
inline constexpr std::chrono::milliseconds kCompositorReplyLimit{2000};

class IpcError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace velmora::wayland

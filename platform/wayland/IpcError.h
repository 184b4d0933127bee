#pragma once
// A failure talking to the compositor: a broken or silent connection, or a reply that is not
// what the protocol promises. The window system turns it into the runtime's error.

#include <stdexcept>

namespace velmora::wayland {

class IpcError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace velmora::wayland

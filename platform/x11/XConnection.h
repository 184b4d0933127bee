#pragma once
// One connection to the X server, shared by the window system, the keyboard and the state
// publisher. The Xlib and XCB types stay behind this header so that Qt code can hold one.

#include <memory>

namespace velmora::x11 {

struct XState;

class XConnection {
public:
    XConnection();  // throws std::runtime_error when no display can be opened
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    XState& state() { return *state_; }
    // Takes in whatever the server has sent that nobody asked for: errors of requests on windows
    // that vanished meanwhile (handed to the handler that ignores them), so they never pile up.
    void DiscardArrived();

private:
    std::unique_ptr<XState> state_;
};

}  // namespace velmora::x11

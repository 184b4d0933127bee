#pragma once
// The one place where the program's window messages are taken from the queue and dispatched:
// by the message loop and, nested, by DoEvents.

#include "WindowsApi.h"

#include <functional>

namespace velmora::win32 {

class MessagePump {
public:
    // Sees every message before it is dispatched; returns true when it has handled it.
    void SetFilter(std::function<bool(MSG&)> filter) { filter_ = std::move(filter); }

    // Dispatches the messages waiting now. A WM_QUIT is put back for the loop to find.
    void DispatchPending();
    // Dispatches messages until WM_QUIT; returns its exit code.
    int Run();

private:
    void Dispatch(MSG& message);

    std::function<bool(MSG&)> filter_;
};

}  // namespace velmora::win32

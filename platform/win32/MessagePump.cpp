#include "MessagePump.h"

namespace velmora::win32 {

void MessagePump::Dispatch(MSG& message) {
    if (filter_ && filter_(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void MessagePump::DispatchPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Dispatch(message);
    }
}

int MessagePump::Run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
    return static_cast<int>(message.wParam);
}

}  // namespace velmora::win32

#include "Enum.h"

#include "Globals.h"
#include "platform/RuntimeError.h"

namespace velmora {

bool Enum::IsListable(Hwnd window) {
    constexpr std::uint32_t kListable = kWsVisible | kWsBorder;
    return (windows_.WindowStyle(window) & kListable) == kListable;
}

std::int16_t Enum::GetOpenWindows(Hwnd ownWindow) {
    struct WalkEnd {
        WindowSystem& windows;
        ~WalkEnd() { windows.EndWalk(); }
    } walkEnd{windows_};
    openWindows_.fill(WindowEntry{});
    std::int16_t count = 0;
    for (Hwnd window = windows_.GetWindow(ownWindow, kGwHwndFirst); window != 0;
         window = windows_.GetWindow(window, kGwHwndNext)) {
        if (window == ownWindow || !IsListable(window)) continue;
        std::string title = windows_.WindowTitle(window);
        if (title.empty() || window == globals_.MainWindowHandle) continue;
        if (count >= kTableSize) throw RuntimeError::SubscriptOutOfRange();
        openWindows_[count] = {std::move(title), window};
        ++count;
    }
    return count;
}

}  // namespace velmora

#include "SimShell.h"

#include <string>

namespace velmora::sim {

bool SimShell::NotifyIcon(unsigned message, const NotifyIconRecord& record) {
    recorder_.Call("NotifyIcon", std::to_string(message) + "," + HexHandle(record.uFlags));
    requests.push_back({message, record});
    if (!available) return false;
    const auto key = std::make_pair(record.hWnd, record.uID);
    switch (message) {
        case kNimAdd:
            return icons.try_emplace(key, record).second;
        case kNimModify:
            return icons.contains(key);
        case kNimDelete:
            return icons.erase(key) > 0;
        default:
            return false;
    }
}

WindowProc SimShell::SetWindowProc(Hwnd window, WindowProc procedure) {
    recorder_.Call("SetWindowProc", HexHandle(window));
    WindowProc previous = procedureIsDefault_ ? defaultProc_ : procedure_;
    procedure_ = std::move(procedure);
    // Putting the default procedure's stand-in back restores the window as it was.
    procedureIsDefault_ = procedure_.target_type() == defaultProc_.target_type();
    return previous;
}

bool SimShell::HasDefaultProcedure() const { return procedureIsDefault_; }

std::intptr_t SimShell::Deliver(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return procedure_(kTrayWindow, message, wParam, lParam);
}

std::intptr_t SimShell::Callback(std::uintptr_t notification, std::uint32_t id) {
    return Deliver(kTrayCallbackMessage, id, static_cast<std::intptr_t>(notification));
}

void SimShell::Restart() {
    icons.clear();
    Deliver(kTaskbarCreated, 0, 0);
}

}  // namespace velmora::sim

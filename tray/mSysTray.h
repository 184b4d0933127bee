#pragma once
// The tray control's window procedure: while the icon is in the tray, the control's window
// passes the icon's callbacks to the control and everything on to the procedure it had before.

#include <cstdint>

#include "platform/Shell.h"

namespace velmora {

class cSysTray;

class mSysTray {
public:
    explicit mSysTray(Shell& shell) : shell_(shell) {}

    // Installs TrayWindowProc on the window for `control`, keeping the procedure it had.
    void Subclass(Hwnd window, cSysTray& control);
    // Puts the kept procedure back.
    void Restore(Hwnd window);

    std::intptr_t TrayWindowProc(Hwnd window, unsigned message, std::uintptr_t wParam,
                                 std::intptr_t lParam);

private:
    Shell& shell_;
    WindowProc savedWindowProc_;
    cSysTray* control_ = nullptr;  // the control whose icon is in the tray; not owned
};

}  // namespace velmora

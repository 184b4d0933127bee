#pragma once
// Other programs' top-level windows through user32.

#include "VirtualDesktops.h"
#include "platform/WindowSystem.h"

namespace velmora::win32 {

class Win32WindowSystem : public WindowSystem {
public:
    Hwnd GetWindow(Hwnd window, unsigned command) override;
    std::uint32_t WindowStyle(Hwnd window) override;
    std::string WindowTitle(Hwnd window) override;
    void ShowWindow(Hwnd window, int command) override;
    void ActivateWindow(std::string_view title, Hwnd preferred) override;
    Hwnd GetForegroundWindow() override;
    void SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned flags) override;

private:
    VirtualDesktops desktops_;
};

}  // namespace velmora::win32

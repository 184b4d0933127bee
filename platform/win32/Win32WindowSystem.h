#pragma once
// Other programs' top-level windows through user32.

#include <cstddef>
#include <vector>

#include "VirtualDesktops.h"
#include "platform/WindowSystem.h"

namespace velmora::win32 {

class Win32WindowSystem : public WindowSystem {
public:
    Hwnd GetWindow(Hwnd window, unsigned command) override;
    std::uint32_t WindowStyle(Hwnd window) override;
    std::string WindowTitle(Hwnd window) override;
    void EndWalk() override;
    void ShowWindow(Hwnd window, int command) override;
    void ActivateWindow(std::string_view title, Hwnd preferred) override;
    Hwnd GetForegroundWindow() override;
    void SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned flags) override;

private:
    VirtualDesktops desktops_;
    // The top-level windows from the top of the z-order, taken in one call when a walk begins:
    // under Wine each step of GetWindow is a round trip to the window server.
    std::vector<HWND> walk_;
    std::size_t walkAt_ = 0;
};

}  // namespace velmora::win32

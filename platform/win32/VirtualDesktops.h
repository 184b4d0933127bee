#pragma once
// The shell's virtual desktop manager, asked whether a window sits on one of the desktops.

#include "WindowsApi.h"

struct IVirtualDesktopManager;

namespace velmora::win32 {

class VirtualDesktops {
public:
    VirtualDesktops() = default;
    ~VirtualDesktops();
    VirtualDesktops(const VirtualDesktops&) = delete;
    VirtualDesktops& operator=(const VirtualDesktops&) = delete;

    // Whether `window` is on a virtual desktop; false where the system has none (before
    // Windows 10, or under Wine). The manager is fetched the first time it is needed.
    bool Holds(HWND window);

private:
    bool asked_ = false;
    bool comStarted_ = false;
    IVirtualDesktopManager* manager_ = nullptr;
};

// The window's DWMWA_CLOAKED attribute; 0 when it is not cloaked or the system cannot say.
DWORD CloakedState(HWND window);

}  // namespace velmora::win32

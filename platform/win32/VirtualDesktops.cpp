// The virtual desktop manager's interface is declared by the SDK only for Windows 10 and later;
// the program itself runs on earlier Windows too, where the manager is simply not found.
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x0A000000

#include "VirtualDesktops.h"

#include <dwmapi.h>
#include <objbase.h>
#include <shobjidl.h>

namespace velmora::win32 {

VirtualDesktops::~VirtualDesktops() {
    if (manager_ != nullptr) manager_->Release();
    if (comStarted_) CoUninitialize();
}

bool VirtualDesktops::Holds(HWND window) {
    if (!asked_) {
        asked_ = true;
        comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        if (FAILED(CoCreateInstance(CLSID_VirtualDesktopManager, nullptr, CLSCTX_ALL,
                                    IID_IVirtualDesktopManager,
                                    reinterpret_cast<void**>(&manager_)))) {
            manager_ = nullptr;
        }
    }
    GUID desktop{};
    return manager_ != nullptr && SUCCEEDED(manager_->GetWindowDesktopId(window, &desktop)) &&
           !IsEqualGUID(desktop, GUID_NULL);
}

DWORD CloakedState(HWND window) {
    DWORD cloaked = 0;
    if (FAILED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked))) return 0;
    return cloaked;
}

}  // namespace velmora::win32

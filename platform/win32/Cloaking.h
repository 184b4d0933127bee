#pragma once
// Since Windows 8 the compositor can cloak a window: user32 still calls it visible, but the
// user does not see it (suspended store apps, some of the shell's own windows). Windows on
// another virtual desktop are cloaked too, yet open: those stay listed, as every desktop's
// windows are.

#include <cstdint>

namespace velmora::win32 {

// `cloaked` is the window's DWMWA_CLOAKED attribute (0 when it is not cloaked, or when the
// system does not know the attribute); `onAVirtualDesktop` says whether the virtual desktop
// manager places the window on a desktop.
constexpr bool ShownToUser(std::uint32_t cloaked, bool onAVirtualDesktop) {
    return cloaked == 0 || onAVirtualDesktop;
}

}  // namespace velmora::win32

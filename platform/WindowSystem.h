#pragma once
// Other programs' top-level windows, in the Win32 vocabulary the program was designed in.
// Every backend maps these onto its own window system.

#include <cstdint>
#include <string>

namespace velmora {

// A top-level window. Win64 handles and X11 window ids both fit 32 bits.
using Hwnd = std::uint32_t;

inline constexpr unsigned GW_HWNDFIRST = 0;
inline constexpr unsigned GW_HWNDNEXT = 2;

inline constexpr int GWL_STYLE = -16;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_BORDER = 0x00800000;

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // GW_HWNDFIRST: the window at the top of the z-order; GW_HWNDNEXT: the one below `window`.
    // 0 at the end of the chain or when `window` no longer exists.
    virtual Hwnd GetWindow(Hwnd window, unsigned command) = 0;
    // GWL_STYLE yields the style bits; 0 for a window that no longer exists.
    virtual std::uint32_t GetWindowLong(Hwnd window, int index) = 0;
    // The whole title as UTF-8; empty when the window has none or no longer exists.
    virtual std::string GetWindowText(Hwnd window) = 0;
};

}  // namespace velmora

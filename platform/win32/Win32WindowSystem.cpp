#include "Win32WindowSystem.h"

#include <windows.h>

#include <string>

#include "Handles.h"
#include "Utf.h"

namespace velmora::win32 {

static_assert(kGwHwndFirst == GW_HWNDFIRST && kGwHwndNext == GW_HWNDNEXT);
static_assert(kWsVisible == WS_VISIBLE && kWsBorder == WS_BORDER);

Hwnd Win32WindowSystem::GetWindow(Hwnd window, unsigned command) {
    return FromHwnd(::GetWindow(ToHwnd(window), command));
}

std::uint32_t Win32WindowSystem::WindowStyle(Hwnd window) {
    return static_cast<std::uint32_t>(::GetWindowLongW(ToHwnd(window), GWL_STYLE));
}

std::string Win32WindowSystem::WindowTitle(Hwnd window) {
    const HWND handle = ToHwnd(window);
    const int length = ::GetWindowTextLengthW(handle);
    if (length <= 0) return {};
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(handle, buffer.data(), length + 1);
    buffer.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return Narrow(buffer);
}

}  // namespace velmora::win32

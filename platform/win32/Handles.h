#pragma once
// Window handles cross the core as 32-bit values: Win64 handles have 32 significant bits and
// are sign-extended back, as Windows does between 32- and 64-bit processes.

#include "WindowsApi.h"

#include <cstdint>

#include "platform/WindowSystem.h"

namespace velmora::win32 {

inline HWND ToHwnd(Hwnd window) {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<std::int32_t>(window)));
}

inline Hwnd FromHwnd(HWND window) {
    return static_cast<Hwnd>(reinterpret_cast<ULONG_PTR>(window));
}

}  // namespace velmora::win32

#pragma once
// The notification area (system tray) and the window that owns the program's tray icon.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "Runtime.h"
#include "WindowSystem.h"

namespace velmora {

// The notify-icon record, laid out as the 32-bit ANSI record with balloon fields (488 bytes).
// Text fields hold UTF-8, NUL-terminated and cut to fit at a character boundary.
struct NotifyIconRecord {
    std::uint32_t cbSize = 488;
    Hwnd hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    Picture hIcon = 0;
    char szTip[128] = {};
    std::uint32_t dwState = 0;
    std::uint32_t dwStateMask = 0;
    char szInfo[256] = {};
    std::uint32_t uTimeout = 0;
    char szInfoTitle[64] = {};
    std::uint32_t dwInfoFlags = 0;
};
static_assert(sizeof(NotifyIconRecord) == 488);
static_assert(offsetof(NotifyIconRecord, szTip) == 24 && offsetof(NotifyIconRecord, szInfo) == 160 &&
              offsetof(NotifyIconRecord, uTimeout) == 416 &&
              offsetof(NotifyIconRecord, szInfoTitle) == 420 &&
              offsetof(NotifyIconRecord, dwInfoFlags) == 484);

inline constexpr unsigned kNimAdd = 0;
inline constexpr unsigned kNimModify = 1;
inline constexpr unsigned kNimDelete = 2;
inline constexpr std::uint32_t kNifMessage = 0x01;
inline constexpr std::uint32_t kNifIcon = 0x02;
inline constexpr std::uint32_t kNifTip = 0x04;
inline constexpr std::uint32_t kNifInfo = 0x10;

// The callback message of the program's tray icon (WM_USER + 0x65).
inline constexpr unsigned kTrayCallbackMessage = 0x0465;
// Notifications the callback carries in its lParam.
inline constexpr std::uintptr_t kWmMouseMove = 0x0200;
inline constexpr std::uintptr_t kWmLButtonDown = 0x0201;
inline constexpr std::uintptr_t kWmLButtonUp = 0x0202;
inline constexpr std::uintptr_t kWmLButtonDblClk = 0x0203;
inline constexpr std::uintptr_t kWmRButtonDown = 0x0204;
inline constexpr std::uintptr_t kWmRButtonUp = 0x0205;
inline constexpr std::uintptr_t kWmRButtonDblClk = 0x0206;
inline constexpr std::uintptr_t kWmMButtonUp = 0x0208;
inline constexpr std::uintptr_t kNinBalloonShow = 0x0402;
inline constexpr std::uintptr_t kNinBalloonHide = 0x0403;
inline constexpr std::uintptr_t kNinBalloonTimeout = 0x0404;
inline constexpr std::uintptr_t kNinBalloonUserClick = 0x0405;

// A window's message handler: (window, message, wParam, lParam) -> result.
using WindowProc = std::function<std::intptr_t(Hwnd, unsigned, std::uintptr_t, std::intptr_t)>;

class Shell {
public:
    virtual ~Shell() = default;

    // Adds, changes or removes the icon described by the record. True when the notification
    // area took the request; false when there is none or it refused.
    virtual bool NotifyIcon(unsigned message, const NotifyIconRecord& record) = 0;
    // The window that owns the program's tray icon and receives its callback messages.
    virtual Hwnd TrayWindow() = 0;
    // Makes `procedure` the window's message handler and returns the one it replaces, which
    // the new one passes messages on to and which can be put back the same way.
    virtual WindowProc SetWindowProc(Hwnd window, WindowProc procedure) = 0;
    // The message a new notification area sends when the shell has (re)started; icons must
    // then be added again.
    virtual unsigned TaskbarCreatedMessage() = 0;
    // The image of the program's tray icon (a blue "Q").
    virtual Picture TrayIconPicture() = 0;
};

}  // namespace velmora

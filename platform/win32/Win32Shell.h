#pragma once
// The notification area through shell32, and the hidden window that owns the program's icon.

#include "WindowsApi.h"

#include <map>

#include "Pictures.h"
#include "platform/Shell.h"

namespace velmora::win32 {

class Win32Shell : public Shell {
public:
    explicit Win32Shell(Pictures& pictures);
    ~Win32Shell() override;
    Win32Shell(const Win32Shell&) = delete;
    Win32Shell& operator=(const Win32Shell&) = delete;

    bool NotifyIcon(unsigned message, const NotifyIconRecord& record) override;
    Hwnd TrayWindow() override;
    WindowProc SetWindowProc(Hwnd window, WindowProc procedure) override;
    unsigned TaskbarCreatedMessage() override { return taskbarCreated_; }
    Picture TrayIconPicture() override { return trayIcon_; }

private:
    static LRESULT CALLBACK Trampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Pictures& pictures_;
    HWND window_ = nullptr;
    UINT taskbarCreated_ = 0;
    Picture trayIcon_ = 0;
    // The procedures installed through SetWindowProc, by window; the window's user data
    // points back here.
    std::map<HWND, WindowProc> installed_;
};

}  // namespace velmora::win32

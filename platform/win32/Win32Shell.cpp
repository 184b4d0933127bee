#include "Win32Shell.h"

#include <shellapi.h>

#include <algorithm>

#include "Handles.h"
#include "Utf.h"

namespace velmora::win32 {

#if defined(__i386__)
// The 32-bit ANSI record with balloon fields is exactly the core's record.
static_assert(NOTIFYICONDATAA_V2_SIZE == sizeof(NotifyIconRecord));
#endif
static_assert(kNimAdd == NIM_ADD && kNimModify == NIM_MODIFY && kNimDelete == NIM_DELETE);
static_assert(kNifMessage == NIF_MESSAGE && kNifIcon == NIF_ICON && kNifTip == NIF_TIP &&
              kNifInfo == NIF_INFO);

namespace {

constexpr wchar_t kTrayClass[] = L"VelmoraSuiteTray";
constexpr int kProgramIcon = 1;  // resource id

template <std::size_t N>
void CopyWide(wchar_t (&field)[N], const char* utf8) {
    const std::wstring text = Widen(utf8);
    const std::size_t length = std::min(text.size(), N - 1);
    std::copy_n(text.data(), length, field);
    field[length] = L'\0';
}

}  // namespace

Win32Shell::Win32Shell(Pictures& pictures) : pictures_(pictures) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kTrayClass;
    RegisterClassExW(&windowClass);
    // A top-level window, never shown, so that it hears the shell's TaskbarCreated broadcast.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kTrayClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, nullptr);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    const auto icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    if (icon != nullptr) trayIcon_ = pictures_.Add(icon);
}

Win32Shell::~Win32Shell() { DestroyWindow(window_); }

Hwnd Win32Shell::TrayWindow() { return FromHwnd(window_); }

bool Win32Shell::NotifyIcon(unsigned message, const NotifyIconRecord& record) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = ToHwnd(record.hWnd);
    data.uID = record.uID;
    data.uFlags = record.uFlags;
    data.uCallbackMessage = record.uCallbackMessage;
    data.hIcon = pictures_.Image(record.hIcon);
    CopyWide(data.szTip, record.szTip);
    CopyWide(data.szInfo, record.szInfo);
    CopyWide(data.szInfoTitle, record.szInfoTitle);
    data.uTimeout = record.uTimeout;
    data.dwInfoFlags = record.dwInfoFlags;
    return Shell_NotifyIconW(message, &data) != FALSE;
}

LRESULT CALLBACK Win32Shell::Trampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* self = reinterpret_cast<Win32Shell*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const auto installed = self->installed_.find(window);
    const WindowProc procedure = installed->second;  // it may replace itself while it runs
    return procedure(FromHwnd(window), message, wParam, lParam);
}

// Subclasses the window: the procedure it had is handed back as a WindowProc that calls it, so
// that installing that one again lets the original handle every message as before.
WindowProc Win32Shell::SetWindowProc(Hwnd window, WindowProc procedure) {
    const HWND handle = ToHwnd(window);
    const auto current = installed_.find(handle);
    if (current != installed_.end()) {
        WindowProc previous = std::move(current->second);
        current->second = std::move(procedure);
        return previous;
    }
    installed_[handle] = std::move(procedure);
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const auto original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Trampoline)));
    return [handle, original](Hwnd, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
        return static_cast<std::intptr_t>(
            CallWindowProcW(original, handle, message, wParam, lParam));
    };
}

}  // namespace velmora::win32

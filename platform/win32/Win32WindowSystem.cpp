#include "Win32WindowSystem.h"

#include "WindowsApi.h"

#include <algorithm>
#include <string>

#include "Handles.h"
#include "Utf.h"
#include "platform/RuntimeError.h"

namespace velmora::win32 {

static_assert(kGwHwndFirst == GW_HWNDFIRST && kGwHwndNext == GW_HWNDNEXT);
static_assert(kWsVisible == WS_VISIBLE && kWsBorder == WS_BORDER);
static_assert(kSwpNoSize == SWP_NOSIZE && kSwpNoMove == SWP_NOMOVE &&
              kSwpNoActivate == SWP_NOACTIVATE);
static_assert(kSwHide == SW_HIDE && kSwShowMaximized == SW_SHOWMAXIMIZED &&
              kSwMinimize == SW_MINIMIZE && kSwRestore == SW_RESTORE);

namespace {

bool OfThisProcess(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process == ::GetCurrentProcessId();
}

std::wstring TitleOf(HWND window) {
    std::wstring title(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    title.resize(static_cast<std::size_t>(
        std::max(0, ::GetWindowTextW(window, title.data(), static_cast<int>(title.size())))));
    return title;
}

HWND FindByTitle(const std::wstring& title, HWND preferred) {
    const auto matches = [&title](HWND window) {
        return ::IsWindow(window) && !OfThisProcess(window) && TitleOf(window) == title;
    };
    if (preferred != nullptr && matches(preferred)) return preferred;
    for (HWND window = ::GetTopWindow(nullptr); window != nullptr;
         window = ::GetWindow(window, GW_HWNDNEXT)) {
        if (::IsWindowVisible(window) && matches(window)) return window;
    }
    return nullptr;
}

constexpr ULONGLONG kActivationWaitMs = 1000;
constexpr ULONGLONG kActivationRetryMs = 250;
constexpr DWORD kActivationPollMs = 10;

// Windows lets a program take the foreground only in some situations; sharing the input state
// of the current foreground thread for a moment is the usual way through.
void RequestForeground(HWND window) {
    ::SetForegroundWindow(window);
    if (::GetForegroundWindow() == window) return;
    const DWORD ours = ::GetCurrentThreadId();
    const DWORD theirs = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    const bool attached = theirs != 0 && theirs != ours && ::AttachThreadInput(ours, theirs, TRUE);
    ::BringWindowToTop(window);
    ::SetForegroundWindow(window);
    if (attached) ::AttachThreadInput(ours, theirs, FALSE);
}

// The switch completes once the target's thread has taken part, which on a busy machine takes
// a while; asking again at once would only start it over. Callers look at the foreground right
// after, so this waits for it (at most a second).
void BringToForeground(HWND window) {
    const ULONGLONG start = ::GetTickCount64();
    ULONGLONG asked = start;
    RequestForeground(window);
    for (ULONGLONG now = start; now - start < kActivationWaitMs; now = ::GetTickCount64()) {
        if (::GetForegroundWindow() == window) return;
        if (now - asked >= kActivationRetryMs) {
            RequestForeground(window);
            asked = now;
        }
        ::Sleep(kActivationPollMs);
    }
}

}  // namespace

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

void Win32WindowSystem::ShowWindow(Hwnd window, int command) {
    ::ShowWindow(ToHwnd(window), command);
}

void Win32WindowSystem::ActivateWindow(std::string_view title, Hwnd preferred) {
    const HWND target = FindByTitle(Widen(title), ToHwnd(preferred));
    if (target == nullptr) throw RuntimeError::InvalidProcedureCall();
    BringToForeground(target);
}

Hwnd Win32WindowSystem::GetForegroundWindow() { return FromHwnd(::GetForegroundWindow()); }

void Win32WindowSystem::SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned flags) {
    // HWND_TOPMOST is -1 and HWND_BOTTOM is 1: both survive the round trip through 32 bits.
    ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), 0, 0, 0, 0, flags);
}

}  // namespace velmora::win32

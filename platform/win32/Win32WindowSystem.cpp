#include "Win32WindowSystem.h"

#include "WindowsApi.h"

#include <optional>
#include <string>
#include <vector>

#include "Cloaking.h"
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

// How long another program's thread gets to answer before it counts as not answering.
constexpr UINT kAnswerTimeoutMs = 300;

bool OfThisProcess(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process == ::GetCurrentProcessId();
}

bool OfThisThread(HWND window) {
    return ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
}

// Whether the window's thread handles a message within a short time. Calls that wait for that
// thread would hold this one for as long as it hangs, so they are made only after this.
bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                                 &result) != 0;
}

// The title as the window system keeps it. GetWindowText and GetWindowTextLength may ask the
// window's thread, which a hung program never answers; this never does.
std::wstring TitleOf(HWND window) {
    for (std::size_t capacity = 256;; capacity *= 2) {
        std::wstring title(capacity, L'\0');
        const int copied = ::InternalGetWindowText(window, title.data(), static_cast<int>(capacity));
        if (copied <= 0) return {};
        if (static_cast<std::size_t>(copied) + 1 < capacity) {
            title.resize(static_cast<std::size_t>(copied));
            return title;
        }
    }
}

// Titles are compared as the rows show them, in UTF-8 where a lone surrogate reads as U+FFFD,
// so that a window whose title holds one is found by its row's text.
HWND FindByTitle(std::string_view title, HWND preferred) {
    const auto matches = [title](HWND window) {
        return ::IsWindow(window) && !OfThisProcess(window) && Narrow(TitleOf(window)) == title;
    };
    if (preferred != nullptr && matches(preferred)) return preferred;
    for (HWND window = ::GetTopWindow(nullptr); window != nullptr;
         window = ::GetWindow(window, GW_HWNDNEXT)) {
        if (::IsWindowVisible(window) && matches(window)) return window;
    }
    return nullptr;
}

// Shares the input state of another thread while it lives, and detaches on every way out.
class InputAttachment {
public:
    InputAttachment(DWORD ours, DWORD theirs)
        : ours_(ours), theirs_(theirs), attached_(::AttachThreadInput(ours, theirs, TRUE) != FALSE) {}
    ~InputAttachment() {
        if (attached_) ::AttachThreadInput(ours_, theirs_, FALSE);
    }
    InputAttachment(const InputAttachment&) = delete;
    InputAttachment& operator=(const InputAttachment&) = delete;

private:
    DWORD ours_;
    DWORD theirs_;
    bool attached_;
};

constexpr ULONGLONG kActivationWaitMs = 1000;
constexpr ULONGLONG kActivationRetryMs = 250;
constexpr DWORD kActivationPollMs = 10;

// Raises the window without waiting for its thread to take part.
void RaiseWithoutWaiting(HWND window) {
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
}

// Windows lets a program take the foreground only in some situations; sharing the input state
// of the current foreground thread for a moment is the usual way through. A thread that does
// not answer is never attached: its input state would stay stuck to ours.
void RequestForeground(HWND window) {
    ::SetForegroundWindow(window);
    const HWND front = ::GetForegroundWindow();
    if (front == window) return;
    const DWORD ours = ::GetCurrentThreadId();
    const DWORD theirs = front == nullptr ? 0 : ::GetWindowThreadProcessId(front, nullptr);
    std::optional<InputAttachment> attachment;
    if (theirs != 0 && theirs != ours && Answers(front)) attachment.emplace(ours, theirs);
    RaiseWithoutWaiting(window);
    ::SetForegroundWindow(window);
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

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

// Every top-level window, from the top of the z-order down.
std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

}  // namespace

Hwnd Win32WindowSystem::GetWindow(Hwnd window, unsigned command) {
    if (command == GW_HWNDFIRST) {
        walk_ = TopLevelWindows();
        walkAt_ = 0;
        return walk_.empty() ? 0 : FromHwnd(walk_.front());
    }
    if (command == GW_HWNDNEXT && walkAt_ < walk_.size() && FromHwnd(walk_[walkAt_]) == window) {
        ++walkAt_;
        return walkAt_ < walk_.size() ? FromHwnd(walk_[walkAt_]) : 0;
    }
    return FromHwnd(::GetWindow(ToHwnd(window), command));
}

void Win32WindowSystem::EndWalk() {
    walk_.clear();
    walkAt_ = 0;
}

std::uint32_t Win32WindowSystem::WindowStyle(Hwnd window) {
    const HWND handle = ToHwnd(window);
    auto style = static_cast<std::uint32_t>(::GetWindowLongW(handle, GWL_STYLE));
    if ((style & WS_VISIBLE) != 0) {
        // A window the compositor cloaks is visible to user32 only, not to the user.
        const DWORD cloaked = CloakedState(handle);
        if (cloaked != 0 && !ShownToUser(cloaked, desktops_.Holds(handle))) style &= ~WS_VISIBLE;
    }
    return style;
}

std::string Win32WindowSystem::WindowTitle(Hwnd window) { return Narrow(TitleOf(ToHwnd(window))); }

// Another thread's window changes its show state on that thread; waiting for it would freeze
// the program for as long as that thread hangs.
void Win32WindowSystem::ShowWindow(Hwnd window, int command) {
    const HWND handle = ToHwnd(window);
    if (OfThisThread(handle)) {
        ::ShowWindow(handle, command);
    } else {
        ::ShowWindowAsync(handle, command);
    }
}

void Win32WindowSystem::ActivateWindow(std::string_view title, Hwnd preferred) {
    const HWND target = FindByTitle(title, ToHwnd(preferred));
    if (target == nullptr || !Answers(target)) throw RuntimeError::InvalidProcedureCall();
    BringToForeground(target);
    // The target's thread finishes the switch (its keyboard focus among it) in its own time;
    // its answer to a later message shows it has, before callers send keys. A target that
    // stopped answering meanwhile is a failed switch as well.
    if (!Answers(target)) throw RuntimeError::InvalidProcedureCall();
}

Hwnd Win32WindowSystem::GetForegroundWindow() { return FromHwnd(::GetForegroundWindow()); }

void Win32WindowSystem::SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned flags) {
    // HWND_TOPMOST is -1 and HWND_BOTTOM is 1: both survive the round trip through 32 bits.
    ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), 0, 0, 0, 0, flags);
}

}  // namespace velmora::win32

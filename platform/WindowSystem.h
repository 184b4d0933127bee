#pragma once
// Other programs' top-level windows, in the Win32 vocabulary the program was designed in.
// Every backend maps these onto its own window system.

#include <cstdint>
#include <string>
#include <string_view>

#include "RuntimeError.h"

namespace velmora {

// A top-level window. Win64 handles and X11 window ids both fit 32 bits.
using Hwnd = std::uint32_t;

// The Win32 values, under names of their own so that they never meet windows.h's macros.
inline constexpr unsigned kGwHwndFirst = 0;
inline constexpr unsigned kGwHwndNext = 2;

inline constexpr std::uint32_t kWsVisible = 0x10000000;
inline constexpr std::uint32_t kWsBorder = 0x00800000;

inline constexpr int kSwHide = 0;
inline constexpr int kSwShowMaximized = 3;
inline constexpr int kSwMinimize = 6;
inline constexpr int kSwRestore = 9;

// SetWindowPos: where the window goes in the z-order, and what it leaves alone.
inline constexpr Hwnd kHwndTopmost = static_cast<Hwnd>(-1);
inline constexpr Hwnd kHwndBottom = 1;
inline constexpr unsigned kSwpNoSize = 0x0001;
inline constexpr unsigned kSwpNoMove = 0x0002;
inline constexpr unsigned kSwpNoActivate = 0x0010;

// The user's commands on windows: the six window commands and keeping the program on top.
enum class DesktopCommand { Hide, Show, Close, Minimize, Maximize, Restore, KeepOnTop };

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // kGwHwndFirst: the window at the top of the z-order; kGwHwndNext: the one below
    // `window`, 0 at the end of the chain. The chain is the z-order as it stood when the walk
    // began, so a window closed meanwhile neither ends the walk nor hides the ones below it.
    virtual Hwnd GetWindow(Hwnd window, unsigned command) = 0;
    // The style bits (GetWindowLong with GWL_STYLE); 0 for a window that no longer exists.
    virtual std::uint32_t WindowStyle(Hwnd window) = 0;
    // The whole title as UTF-8; empty when the window has none or no longer exists.
    virtual std::string WindowTitle(Hwnd window) = 0;
    // The walk begun with kGwHwndFirst is over, however it ended (the chain's end, or an error
    // that cut it short): anything the window system kept to answer it quickly is dropped, so
    // later questions see the windows as they are then.
    virtual void EndWalk() {}

    // Changes the show state (kSwHide, kSwShowMaximized, kSwMinimize, kSwRestore); a window
    // that no longer exists is left alone. Never waits for another program: a window whose
    // program does not answer changes when that program gets to the request, if ever.
    virtual void ShowWindow(Hwnd window, int command) = 0;
    // Brings a top-level window whose title is exactly `title` to the foreground: `preferred`
    // when it still has that title, else the topmost such window. Never one of the program's
    // own windows. Throws RuntimeError when no window has the title or its program does not
    // answer (asked with a short time limit); a window that could not be brought forward is
    // left as it is (callers check GetForegroundWindow). Waits at most about a second.
    virtual void ActivateWindow(std::string_view title, Hwnd preferred) = 0;
    virtual Hwnd GetForegroundWindow() = 0;
    // Moves the window in the z-order: kHwndTopmost into the topmost band, kHwndBottom out of
    // it and behind every other window.
    virtual void SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned flags) = 0;

    // How Close reaches a window. By default the Windows way: the window is brought to the
    // foreground and Alt+F4 is typed, which only the foreground window receives. A window
    // system whose Alt+F4 belongs to someone else (X11, where it is the window manager's key)
    // answers true and closes one window by request instead, whether or not it takes focus.
    virtual bool ClosesByRequest() const { return false; }
    // Asks `window` to close as its close button would; the program behind it may ask its user
    // first. Never one of the program's own windows. Throws RuntimeError when the window
    // cannot be asked; only window systems that close by request override it.
    virtual void RequestClose(Hwnd) { throw RuntimeError::InvalidProcedureCall(); }

    // Whether this desktop can carry out `command` at all (sway, for one, has no minimized
    // windows). The program never asks for a command the desktop does not offer.
    virtual bool Offers(DesktopCommand) const { return true; }
    // The desktop's name as its users know it, for telling them what it cannot do.
    virtual std::string DesktopName() const { return "this desktop"; }
};

}  // namespace velmora

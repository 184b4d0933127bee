#pragma once
// Which way the Linux program reaches other programs' windows in this session. The choice
// alone, from what the session answers, each question asked only when the choice comes to it.

#include <functional>

namespace velmora::session {

enum class WindowsWay {
    Sway,          // sway's IPC
    KWin,          // KWin's window-management protocol and scripts
    GnomeShell,    // the project's GNOME Shell extension
    WlrToplevels,  // a wlroots compositor's foreign-toplevel management
    X11,           // X11, also through XWayland
    None,          // no X display and no supported Wayland compositor
};

struct SessionProbes {
    // sway behind $SWAYSOCK serves this session's Wayland display and answers.
    std::function<bool()> swayServesSession;
    // $WAYLAND_DISPLAY names a compositor.
    std::function<bool()> waylandSession;
    // The compositor offers KWin's window-management protocol to this program.
    std::function<bool()> plasmaWindows;
    // The project's GNOME Shell extension answers on the session bus.
    std::function<bool()> shellExtension;
    // The compositor offers foreign-toplevel management.
    std::function<bool()> wlrToplevels;
    // An X display can be reached.
    std::function<bool()> xDisplay;
};

WindowsWay ChooseWindowsWay(const SessionProbes& session);

}  // namespace velmora::session

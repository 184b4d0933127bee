#include "WindowsWay.h"

namespace velmora::session {

// The session's own compositor's ways first, the most capable first; X11 reaches only X11
// programs' windows on a Wayland session.
WindowsWay ChooseWindowsWay(const SessionProbes& session) {
    if (session.swayServesSession()) return WindowsWay::Sway;
    if (session.waylandSession()) {
        if (session.plasmaWindows()) return WindowsWay::KWin;
        if (session.shellExtension()) return WindowsWay::GnomeShell;
        if (session.wlrToplevels()) return WindowsWay::WlrToplevels;
    }
    return session.xDisplay() ? WindowsWay::X11 : WindowsWay::None;
}

}  // namespace velmora::session

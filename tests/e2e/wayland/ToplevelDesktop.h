#pragma once
// The program's windows on a compositor other than sway (labwc, KWin, GNOME Shell), read from
// the compositor's own foreign-toplevel or window-management events on a connection of the
// driver's (GNOME Shell's through its Eval), and the user's input given as assistive
// technology gives it: the controls' accessible actions. No key is typed: such a desktop need
// not take a virtual keyboard.

#include <memory>
#include <string>

#include "Desktop.h"
#include "platform/wayland/ForeignToplevelWire.h"

namespace e2e {

class ToplevelDesktop : public Desktop {
public:
    enum class Compositor { Labwc, KWin, GnomeShell };

    // Connects to the session's compositor; throws when it does not offer its way.
    explicit ToplevelDesktop(Compositor compositor);

    const char* name() const;
    // KWin takes hidden windows off the task bar, switcher and pager.
    bool HidesFromTaskbar() const { return compositor_ == Compositor::KWin; }
    bool KeepsAbove() const { return compositor_ != Compositor::Labwc; }
    // An XWayland window is among the targets.
    bool ServesXWayland() const { return compositor_ != Compositor::Labwc; }
    // The program reaches the windows through the project's extension.
    bool ThroughExtension() const { return compositor_ == Compositor::GnomeShell; }

    void Pump(std::chrono::milliseconds duration) override;
    bool WaitFor(const std::function<bool()>& condition,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5)) override;
    // The program's toplevel titled `title`, known by its process where the compositor tells
    // processes, else by the program's app id.
    WindowId ProgramWindow(pid_t pid, const std::string& title, WindowId except) override;
    // Open and not minimized.
    bool Shown(WindowId window) override;
    WindowId ActiveWindow() override;
    void Activate(WindowId window) override;
    // The control's action: "Press" for a button, "Toggle" for an option.
    void Press(const Accessible& control) override;
    // The row's first cell's "Toggle".
    void PressCheckBox(const Accessible& list, int row) override;
    // Throws: no key is typed here.
    void Keys(const std::string& chord) override;

    // The open toplevel titled `title`, as the compositor has it now; nullptr when none is.
    const velmora::wayland::Toplevel* Titled(const std::string& title);
    // The window's states as the compositor has them now; kGone when it is closed.
    static constexpr unsigned kGone = ~0u;
    unsigned States(WindowId window);

private:
    Compositor compositor_;
    std::unique_ptr<velmora::wayland::ForeignToplevelWire> wire_;
};

}  // namespace e2e

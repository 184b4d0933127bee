#pragma once
// The program's windows on sway, read from its layout tree through its IPC, and a user's input
// to them through the virtual keyboard. Wayland tells no client where on the screen another
// program's controls are, so a control is pressed as a keyboard user presses it: focused (by
// the accessibility bus's focus request, as a screen reader moves the focus), then Space.

#include <optional>
#include <string>
#include <vector>

#include "Desktop.h"
#include "VirtualKeyboard.h"
#include "platform/wayland/SwayConnection.h"
#include "platform/wayland/SwayTree.h"

namespace e2e {

// What sway's tree says of a view beyond the program's reading of it.
struct ViewPlacement {
    bool floating = false;  // a floating container
    bool sticky = false;
};

class SwayDesktop : public Desktop {
public:
    // Connects to the session's sway ($SWAYSOCK) and compositor ($WAYLAND_DISPLAY).
    SwayDesktop();

    void Pump(std::chrono::milliseconds duration) override;
    bool WaitFor(const std::function<bool()>& condition,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5)) override;
    WindowId ProgramWindow(pid_t pid, const std::string& title, WindowId except) override;
    // In the tree and not in the scratchpad.
    bool Shown(WindowId window) override;
    WindowId ActiveWindow() override;
    void Activate(WindowId window) override;
    // Space on the control, once it has the focus.
    void Press(const Accessible& control) override;
    // Space on the row, reached with Home and Down once the list has the focus.
    void PressCheckBox(const Accessible& list, int row) override;
    void Keys(const std::string& chord) override { keyboard_.Type(chord); }

    // Every view, most recently focused first (the order the program lists them in).
    std::vector<velmora::wayland::SwayView> Views();
    std::optional<velmora::wayland::SwayView> View(WindowId window);
    // The views of process `pid` titled `title`, most recently focused first.
    std::vector<velmora::wayland::SwayView> ViewsTitled(pid_t pid, const std::string& title);
    std::optional<ViewPlacement> Placement(WindowId window);
    // Runs a sway command; true when sway carried it out.
    bool Run(const std::string& command);

private:
    // Gives the control the keyboard focus; false when the program refuses.
    bool Focus(const Accessible& control);
    bool FocusList(const Accessible& list);

    velmora::wayland::SwayConnection sway_;
    VirtualKeyboard keyboard_;
};

}  // namespace e2e

#pragma once
// The program's windows on the X desktop and a user's input to them: real clicks and keys
// through XTest, windows found and activated the EWMH way.

#include "Desktop.h"
#include "XDriver.h"

namespace e2e {

class XDesktop : public Desktop {
public:
    explicit XDesktop(XDriver& x) : x_(x) {}

    void Pump(std::chrono::milliseconds duration) override { x_.Pump(duration); }
    bool WaitFor(const std::function<bool()>& condition,
                 std::chrono::milliseconds timeout) override {
        return x_.WaitFor(condition, timeout);
    }
    WindowId ProgramWindow(pid_t pid, const std::string& title, WindowId except) override;
    bool Shown(WindowId window) override { return x_.Info(window).viewable; }
    WindowId ActiveWindow() override { return x_.ActiveWindow().value_or(0); }
    void Activate(WindowId window) override { x_.Activate(window); }
    // A click on the middle of the control.
    void Press(const Accessible& control) override;
    // A click on the check box drawn at the start of the row's first cell.
    void PressCheckBox(const Accessible& list, int row) override;
    void Keys(const std::string& chord) override { x_.Keys(chord); }

private:
    XDriver& x_;
};

}  // namespace e2e

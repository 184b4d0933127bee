#pragma once
// The desktop's side of driving the program, the one part that differs between desktops: the
// program's windows as the desktop shows them, and a user's input to them.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace e2e {

class Accessible;

class Desktop {
public:
    // A top-level window as the desktop names it; 0 is none.
    using WindowId = std::uint64_t;

    virtual ~Desktop() = default;

    // Handles the driver's own events (its target windows' requests, say) while waiting.
    virtual void Pump(std::chrono::milliseconds duration) = 0;
    // Pumps until `condition` holds or `timeout` passes; returns the last answer.
    virtual bool WaitFor(const std::function<bool()>& condition,
                         std::chrono::milliseconds timeout = std::chrono::seconds(5)) = 0;

    // A shown top-level window of the program started as `pid`, titled `title`, other than
    // `except`; 0 when there is none.
    virtual WindowId ProgramWindow(pid_t pid, const std::string& title, WindowId except) = 0;
    virtual bool Shown(WindowId window) = 0;
    virtual WindowId ActiveWindow() = 0;
    // Brings a window to the front with the keyboard focus, as the user does.
    virtual void Activate(WindowId window) = 0;

    // What a user does to a control (a button, an option): presses it.
    virtual void Press(const Accessible& control) = 0;
    // What a user does to the check box of the list's row `row`.
    virtual void PressCheckBox(const Accessible& list, int row) = 0;
    // A key chord like "ctrl+shift+h" into the window that has the keyboard focus.
    virtual void Keys(const std::string& chord) = 0;

protected:
    // Asks `condition` every 50 ms until it holds or `timeout` passes; its last answer.
    static bool PollUntil(const std::function<bool()>& condition,
                          std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!condition()) {
            if (std::chrono::steady_clock::now() >= deadline) return condition();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return true;
    }
};

}  // namespace e2e

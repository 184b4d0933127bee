// Hotkeys, timed refresh with its interval field, and the two information buttons.

#include <algorithm>
#include <cmath>

#include "ErrorTrap.h"
#include "Form1.h"
#include "Globals.h"
#include "Main.h"
#include "Product.h"

namespace velmora {

namespace {

constexpr int kCtrlShift = 3;
// The timer is armed for the due time itself; a due time further off is reached in steps of
// at most an hour, so no platform's timer range is ever exceeded.
constexpr double kLongestTimerSeconds = 3600;
constexpr double kShortestInterval = 0.5;
constexpr std::string_view kNotNumeric = "Must be a numeric value.";
constexpr ControlId kText1 = Id(Control::Text1);

}  // namespace

void Form1::Form_KeyDown(int keyCode, int shift) {
    if (shift != kCtrlShift) return;
    switch (keyCode) {
        case 'L': PushButton1_Click(); break;
        case 'H': PushButton6_Click(); break;
        case 'S': PushButton7_Click(); break;
        case 'C': PushButton8_Click(); break;
        case 'M': PushButton9_Click(); break;
        case 'X': PushButton10_Click(); break;
        case 'R': PushButton11_Click(); break;
        default: break;
    }
}

std::optional<double> Form1::IntervalSeconds() {
    return runtime_.ParseNumber(NormalizeDecimal(runtime_, widgets_.Text(kText1), false));
}

bool Form1::StartTimer() {
    const std::optional<double> seconds = IntervalSeconds();
    if (!seconds || !InDateRange(runtime_.LocalNowSeconds(), *seconds)) {
        // An interval that cannot give a due time never arms the timer.
        StopTimer();
        runtime_.MsgBox(kNotNumeric, vbOKOnly, globals_.AppTitle);
        return false;
    }
    // A shorter interval, such as a value saved on the way to another one, would rebuild the
    // list on every tick and clear the user's tick marks; the text stays as typed.
    nextRefresh_ = runtime_.MonotonicSeconds() + std::max(*seconds, kShortestInterval);
    ArmTimerForDueTime();
    return true;
}

void Form1::ArmTimerForDueTime() {
    const double left =
        std::clamp(nextRefresh_ - runtime_.MonotonicSeconds(), 0.0, kLongestTimerSeconds);
    const int milliseconds = std::max(1, static_cast<int>(std::ceil(left * 1000)));
    widgets_.SetTimerInterval(Id(Control::Timer1), milliseconds);
}

void Form1::StopTimer() { widgets_.SetTimerInterval(Id(Control::Timer1), 0); }

void Form1::Timer1_Timer() {
    ErrorTrap trap(runtime_, "Form1", "Timer1_Timer");
    if (!trap.test(100, [&] { return runtime_.MonotonicSeconds() >= nextRefresh_; })) {
        // Woken before the due time (a timer that runs early, or one step of a long interval).
        ArmTimerForDueTime();
        return;
    }
    trap(102, [&] { StopTimer(); });
    trap(104, [&] { loadWindows(); });
    trap(106, [&] { StartTimer(); });
}

void Form1::Text1_GotFocus() { StopTimer(); }

void Form1::Text1_LostFocus() {
    if (!Selected(Control::Option4)) return;
    const std::optional<double> seconds = IntervalSeconds();
    if (!seconds) {
        runtime_.MsgBox(kNotNumeric, vbOKOnly, globals_.AppTitle);
        widgets_.SetFocus(kText1);
        return;
    }
    if (*seconds < kShortestInterval) SetText1(NormalizeDecimal(runtime_, "0.5", true));
    if (!StartTimer()) widgets_.SetFocus(kText1);
}

void Form1::PushButton12_Click() {
    ErrorTrap trap(runtime_, "Form1", "PushButton12_Click");
    trap(100, [&] {
        runtime_.MsgBox("Questions? Please contact Team Quillfern at " + std::string(kContactPage),
                        vbOKOnly, globals_.AppTitle);
    });
}

void Form1::PushButton13_Click() {
    ErrorTrap trap(runtime_, "Form1", "PushButton13_Click");
    trap(100, [&] {
        runtime_.MsgBox(
            "Hidden windows would disappear from the list when Refresh occurs. Please be careful.",
            vbOKOnly, globals_.AppTitle);
    });
}

}  // namespace velmora

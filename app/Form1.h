#pragma once
// The main window: start-up and shutdown, the window list, and the handlers of its controls.

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "FormDesign.h"
#include "platform/Platform.h"
#include "tray/cSysTray.h"

namespace velmora {

class Enum;
class MSendInput;
class SkinFramework;
class mSysTray;
struct Globals;

class Form1 : public FormEvents, public TrayEvents {
public:
    Form1(Platform& platform, Globals& globals, Enum& enumerator, MSendInput& sendInput,
          mSysTray& trayModule, SkinFramework& skinFramework1);

    void Form_Load();
    void Form_QueryUnload();
    void SetAppTitle();

    // Rebuilds the list from a fresh enumeration; row i belongs to RowHandles()[i - 1].
    void loadWindows();
    void PushButton1_Click();

    // Selection commands: they change check marks only.
    void PushButton2_Click();  // Check All
    void PushButton3_Click();  // Uncheck All
    void PushButton4_Click();  // Check Entries Containing X
    void PushButton5_Click();  // Check Entries Not Containing X

    // Window commands on the checked rows.
    void PushButton6_Click();   // Hide
    void PushButton7_Click();   // Show
    void PushButton8_Click();   // Close
    void PushButton9_Click();   // Minimize
    void PushButton10_Click();  // Maximize
    void PushButton11_Click();  // Restore

    // Hotkeys: Ctrl+Shift with L, H, S, C, M, X or R runs Refresh or a window command.
    void Form_KeyDown(int keyCode, int shift);
    // Timed refresh: armed from the interval text, or disarmed. StartTimer refuses an interval
    // it cannot use (says so, and leaves timed refresh off) and then returns false; it arms a
    // usable interval shorter than half a second for half a second.
    bool StartTimer();
    void StopTimer();
    void Timer1_Timer();
    void PushButton12_Click();  // Help
    void PushButton13_Click();  // "?"

    // Minimizing hides the window into the tray; a click on the tray icon brings it back.
    void Form_Resize();
    void cSysTray1_MouseUp(std::int16_t button, std::int32_t id);
    const cSysTray& Tray() const { return cSysTray1_; }

    const std::vector<Hwnd>& RowHandles() const { return rowHandles_; }

    // Events from the platform.
    void Click(ControlId control) override;
    void MouseMove(ControlId control) override;
    void Change(ControlId control) override;
    void GotFocus(ControlId control) override;
    void LostFocus(ControlId control) override;
    void KeyDown(int keyCode, int shift) override;
    void Timer(ControlId timer) override;
    void Resize() override;
    void QueryUnload() override;

    // Events of the tray icon.
    void TrayMouseMove(std::int32_t) override {}
    void TrayMouseDown(std::int16_t, std::int32_t) override {}
    void TrayMouseUp(std::int16_t button, std::int32_t id) override;
    void TrayMouseDblClick(std::int16_t, std::int32_t) override {}

private:
    static constexpr ControlId kListView = Id(Control::ListView1);

    // Runs the handling of an event of the platform's; once the program has ended, none.
    void HandleEvent(const std::function<void()>& handling);
    void ClickHandling(ControlId control);
    void MouseMoveHandling(ControlId control);

    void SetAllChecks(std::string_view procedure, bool checked);
    void CheckMatching(std::string_view procedure, bool containing);
    // Applies a show state to every checked row's window and writes the row's status.
    void ShowChecked(std::string_view procedure, DesktopCommand command, int showCommand,
                     std::string_view status, bool refreshAfter);
    // Whether the desktop can carry out `command`. The first time in the session that it
    // cannot, the user is told so; the command then leaves every window as it is.
    bool DesktopOffers(DesktopCommand command);
    // Keeps the program's window on top of others, or makes it a regular window again.
    void KeepFormOnTop();
    void MakeFormRegular();
    // A row's window as the row showed it: its title and handle.
    struct RowWindow {
        std::string title;
        Hwnd handle = 0;
    };
    // Brings the row's window to the front; throws unless a window with exactly the row's
    // title, other than the program's own, is then in the foreground. Where windows close by
    // request, brings it forward as far as it allows and throws unless the row's own window
    // still carries the row's title.
    void SwitchToRowWindow(const RowWindow& window);
    // Alt+F4 to the foreground window, or the close request for the row's window.
    void CloseRowWindow(const RowWindow& window);
    Hwnd RowHandle(int row) const;
    // Sets the timer to go off when the next timed refresh is due, so it wakes the program only
    // then.
    void ArmTimerForDueTime();
    int RowCount();

    bool Selected(Control option);
    // Sets an option as the program does: selecting a cleared option clears the other option of
    // its frame and runs its click handling; clearing runs nothing.
    void SetOption(Control option, bool selected);
    void SelectOnly(Control option);
    void RunOptionClick(Control option);
    void PriorityOption_Click();
    void RefreshOption_Click();

    // Sets the interval text; a real change runs its change handling.
    void SetText1(std::string_view text);
    void Text1_Change();
    void Text1_GotFocus();
    void Text1_LostFocus();
    // The interval text read as seconds; none when it is not a number.
    std::optional<double> IntervalSeconds();

    void ButtonMouseMove();
    void BackgroundMouseMove();

    WindowSystem& windows_;
    Runtime& runtime_;
    Widgets& widgets_;
    MSendInput& sendInput_;
    Globals& globals_;
    Enum& enum_;
    SkinFramework& skinFramework1_;
    cSysTray cSysTray1_;
    std::vector<Hwnd> rowHandles_;
    // Counts list rebuilds, so that a walk over the rows ends when the list is rebuilt under it.
    unsigned listGeneration_ = 0;
    // When the next timed refresh is due, on the monotonic clock.
    double nextRefresh_ = 0;
    // The window is hidden in the tray: minimizing has hidden it and no click has yet shown it.
    bool hiddenInTray_ = false;
    // End has run: no handler runs any more.
    bool ended_ = false;
    // The commands the user has been told this desktop cannot carry out.
    std::set<DesktopCommand> toldUnavailable_;
};

}  // namespace velmora

#include "Form1.h"

#include "Enum.h"
#include "ErrorTrap.h"
#include "Globals.h"
#include "Main.h"
#include "Product.h"
#include "Settings.h"
#include "skin/ApplySkin.h"

namespace velmora {

namespace {

constexpr std::string_view kCursorFile = "HAND-M.CUR";

bool IsPushButton(ControlId control) {
    return MainFormDesign().controls[control].kind == ControlKind::PushButton;
}

// Handlers without a trap of their own still report a failure through the error report instead
// of ending the program; such a report names the handler and line 0.
template <typename Body>
void RunUntrapped(Runtime& runtime, ControlId control, std::string_view event, Body&& body) {
    const std::string_view owner =
        control == kNoParent ? std::string_view("Form") : MainFormDesign().controls[control].name;
    const std::string procedure = std::string(owner) + '_' + std::string(event);
    ErrorTrap(runtime, "Form1", procedure)(0, std::forward<Body>(body));
}

}  // namespace

Form1::Form1(Platform& platform, Globals& globals, Enum& enumerator, MSendInput& sendInput,
             mSysTray& trayModule, SkinFramework& skinFramework1)
    : windows_(platform.windows),
      runtime_(platform.runtime),
      widgets_(platform.widgets),
      sendInput_(sendInput),
      globals_(globals),
      enum_(enumerator),
      skinFramework1_(skinFramework1),
      cSysTray1_(platform, trayModule, *this) {}

void Form1::Form_Load() {
    ErrorTrap trap(runtime_, "Form1", "Form_Load");
    trap(102, [&] { widgets_.SetFormCaption(kProductName); });
    trap(102, [&] { widgets_.SetFormIcon(); });
    trap(102, [&] { SetAppTitle(); });
    trap(104, [&] { ApplySkin(runtime_, widgets_, MainFormDesign(), skinFramework1_); });
    if (trap.test(106, [&] { return FileExists(runtime_, ProgramFile(runtime_, kCursorFile)); })) {
        trap(108, [&] {
            widgets_.SetMouseIcon(runtime_.LoadPicture(ProgramFile(runtime_, kCursorFile)));
        });
    }
    trap(126, [&] { widgets_.AddColumn(kListView, "Open Windows"); });
    trap(128, [&] { widgets_.AddColumn(kListView, "Status"); });
    trap(130, [&] { widgets_.SetColumnWidth(kListView, 1, 5800); });
    trap(132, [&] { widgets_.SetColumnWidth(kListView, 2, 1300); });
    trap(134, [&] { cSysTray1_.SetTrayTip(kProductName); });
    trap(134, [&] { widgets_.SetFormIcon(); });
    trap(136, [&] { cSysTray1_.SetInTray(true); });
    trap(138, [&] { globals_.MainWindowHandle = widgets_.FormHandle(); });
    trap(140, [&] { loadWindows(); });
    trap(142, [&] { SetOption(Control::Option1, settings::ReadTruth(runtime_, settings::Option1)); });
    trap(144, [&] { SetOption(Control::Option2, settings::ReadTruth(runtime_, settings::Option2)); });
    if (trap.test(146, [&] { return Selected(Control::Option1); })) {
        trap(148, [&] { MakeFormRegular(); });
    } else if (trap.test(150, [&] { return Selected(Control::Option2); })) {
        trap(152, [&] { KeepFormOnTop(); });
    }
    trap(154, [&] { SetText1(settings::Read(runtime_, settings::Text1)); });
    trap(555, [&] { SetOption(Control::Option3, settings::ReadTruth(runtime_, settings::Option3)); });
    trap(556, [&] { SetOption(Control::Option4, settings::ReadTruth(runtime_, settings::Option4)); });
    if (trap.test(160, [&] { return Selected(Control::Option3); })) {
        trap(162, [&] { widgets_.SetEnabled(Id(Control::Text1), false); });
        trap(164, [&] { StopTimer(); });
    } else if (trap.test(166, [&] { return Selected(Control::Option4); })) {
        trap(168, [&] { widgets_.SetEnabled(Id(Control::Text1), true); });
        trap(170, [&] { StartTimer(); });
    }
}

void Form1::Form_QueryUnload() {
    ErrorTrap trap(runtime_, "Form1", "Form_QueryUnload");
    trap(100, [&] { cSysTray1_.SetInTray(false); });
    trap(102, [&] { runtime_.DoEvents(); });
    trap(104, [&] { runtime_.DoEvents(); });
    trap(106, [&] {
        // Events the ending itself sets off find the program already ended.
        ended_ = true;
        runtime_.End();
    });
}

void Form1::SetAppTitle() { globals_.AppTitle = AppTitleFrom(kProductName); }

void Form1::loadWindows() {
    ErrorTrap trap(runtime_, "Form1", "loadWindows");
    ++listGeneration_;
    trap(100, [&] { enum_.GetOpenWindows(widgets_.FormHandle()); });
    // Rows and handles stay in step: when the rows could not be removed, their handles stay too.
    bool rowsRemoved = false;
    trap(102, [&] {
        widgets_.ClearRows(kListView);
        rowsRemoved = true;
    });
    trap(104, [&] {
        if (rowsRemoved) rowHandles_.clear();
        // Reserved up front so that appending a handle after its row never fails.
        rowHandles_.reserve(rowHandles_.size() + Enum::kTableSize);
    });
    const Enum::Table& entries = enum_.OpenWindows();
    for (const WindowEntry& entry : entries) {
        if (!trap.test(108, [&] { return !entry.Title.empty(); })) continue;
        // A handle is appended only once its row exists, so row i always belongs to handle i.
        bool rowAdded = false;
        trap(112, [&] {
            widgets_.AddRow(kListView, entry.Title);
            rowAdded = true;
        });
        if (!rowAdded) continue;
        rowHandles_.push_back(entry.Handle);
        const int row = static_cast<int>(rowHandles_.size());
        trap(114, [&] { widgets_.SetRowSubItem(kListView, row, 1, "Visible"); });
    }
}

void Form1::PushButton1_Click() {
    ErrorTrap trap(runtime_, "Form1", "PushButton1_Click");
    trap(100, [&] { loadWindows(); });
}

bool Form1::Selected(Control option) { return widgets_.Value(Id(option)); }

void Form1::SetOption(Control option, bool selected) {
    if (!selected) {
        widgets_.SetValue(Id(option), false);
        return;
    }
    if (Selected(option)) return;
    SelectOnly(option);
    RunOptionClick(option);
}

void Form1::SelectOnly(Control option) {
    const auto& controls = MainFormDesign().controls;
    const ControlId frame = controls[Id(option)].parent;
    for (ControlId other = 0; other < controls.size(); ++other) {
        if (other != Id(option) && controls[other].kind == ControlKind::OptionButton &&
            controls[other].parent == frame && widgets_.Value(other)) {
            widgets_.SetValue(other, false);
        }
    }
    widgets_.SetValue(Id(option), true);
}

void Form1::RunOptionClick(Control option) {
    if (option == Control::Option1 || option == Control::Option2) {
        PriorityOption_Click();
    } else {
        RefreshOption_Click();
    }
}

// Option1 and Option2 share this handler: both save the pair and apply the choice.
void Form1::PriorityOption_Click() {
    settings::WriteTruth(runtime_, settings::Option1, Selected(Control::Option1));
    settings::WriteTruth(runtime_, settings::Option2, Selected(Control::Option2));
    if (Selected(Control::Option1)) {
        MakeFormRegular();
    } else if (Selected(Control::Option2)) {
        KeepFormOnTop();
    }
}

// Option3 and Option4 share this handler: both save the pair and switch timed refresh.
void Form1::RefreshOption_Click() {
    settings::WriteTruth(runtime_, settings::Option3, Selected(Control::Option3));
    settings::WriteTruth(runtime_, settings::Option4, Selected(Control::Option4));
    if (Selected(Control::Option3)) {
        widgets_.SetEnabled(Id(Control::Text1), false);
        StopTimer();
    } else if (Selected(Control::Option4)) {
        widgets_.SetEnabled(Id(Control::Text1), true);
        StartTimer();
    }
}

void Form1::SetText1(std::string_view text) {
    if (widgets_.Text(Id(Control::Text1)) == text) return;
    widgets_.SetText(Id(Control::Text1), text);
    Text1_Change();
}

void Form1::Text1_Change() {
    settings::Write(runtime_, settings::Text1, widgets_.Text(Id(Control::Text1)));
}

void Form1::ButtonMouseMove() {
    if (widgets_.MousePointer() != vbHourglass) widgets_.SetMousePointer(vbCustom);
}

void Form1::BackgroundMouseMove() {
    if (widgets_.MousePointer() != vbHourglass) widgets_.SetMousePointer(vbDefault);
}

// End unwinds the handler that called it, and every handler it was nested in, to here.
void Form1::HandleEvent(const std::function<void()>& handling) {
    if (ended_) return;
    try {
        handling();
    } catch (const ProgramEnded&) {
        ended_ = true;
    }
}

void Form1::Click(ControlId control) {
    HandleEvent([&] { ClickHandling(control); });
}

void Form1::ClickHandling(ControlId control) {
    switch (static_cast<Control>(control)) {
        case Control::PushButton1: PushButton1_Click(); break;
        case Control::PushButton2: PushButton2_Click(); break;
        case Control::PushButton3: PushButton3_Click(); break;
        case Control::PushButton4: PushButton4_Click(); break;
        case Control::PushButton5: PushButton5_Click(); break;
        case Control::PushButton6: PushButton6_Click(); break;
        case Control::PushButton7: PushButton7_Click(); break;
        case Control::PushButton8: PushButton8_Click(); break;
        case Control::PushButton9: PushButton9_Click(); break;
        case Control::PushButton10: PushButton10_Click(); break;
        case Control::PushButton11: PushButton11_Click(); break;
        case Control::PushButton12: PushButton12_Click(); break;
        case Control::PushButton13: PushButton13_Click(); break;
        case Control::Option1:
        case Control::Option2:
        case Control::Option3:
        case Control::Option4:
            RunUntrapped(runtime_, control, "Click", [&] {
                SelectOnly(static_cast<Control>(control));
                RunOptionClick(static_cast<Control>(control));
            });
            break;
        default:
            break;
    }
}

void Form1::MouseMove(ControlId control) {
    HandleEvent([&] { MouseMoveHandling(control); });
}

void Form1::MouseMoveHandling(ControlId control) {
    if (control == kNoParent) {
        RunUntrapped(runtime_, control, "MouseMove", [&] { BackgroundMouseMove(); });
        return;
    }
    switch (static_cast<Control>(control)) {
        case Control::Frame1:
        case Control::Frame2:
        case Control::ListView1:
            RunUntrapped(runtime_, control, "MouseMove", [&] { BackgroundMouseMove(); });
            break;
        default:
            if (IsPushButton(control)) {
                RunUntrapped(runtime_, control, "MouseMove", [&] { ButtonMouseMove(); });
            }
            break;
    }
}

void Form1::Change(ControlId control) {
    if (control != Id(Control::Text1)) return;
    HandleEvent([&] { RunUntrapped(runtime_, control, "Change", [&] { Text1_Change(); }); });
}

void Form1::GotFocus(ControlId control) {
    if (control != Id(Control::Text1)) return;
    HandleEvent([&] { RunUntrapped(runtime_, control, "GotFocus", [&] { Text1_GotFocus(); }); });
}

void Form1::LostFocus(ControlId control) {
    if (control != Id(Control::Text1)) return;
    HandleEvent([&] { RunUntrapped(runtime_, control, "LostFocus", [&] { Text1_LostFocus(); }); });
}

void Form1::KeyDown(int keyCode, int shift) {
    HandleEvent([&] {
        RunUntrapped(runtime_, kNoParent, "KeyDown", [&] { Form_KeyDown(keyCode, shift); });
    });
}

void Form1::Timer(ControlId timer) {
    if (timer == Id(Control::Timer1)) HandleEvent([&] { Timer1_Timer(); });
}

void Form1::Resize() {
    HandleEvent([&] { RunUntrapped(runtime_, kNoParent, "Resize", [&] { Form_Resize(); }); });
}

void Form1::QueryUnload() {
    HandleEvent([&] { Form_QueryUnload(); });
}

void Form1::TrayMouseUp(std::int16_t button, std::int32_t id) {
    HandleEvent([&] {
        RunUntrapped(runtime_, Id(Control::cSysTray1), "MouseUp",
                     [&] { cSysTray1_MouseUp(button, id); });
    });
}

}  // namespace velmora

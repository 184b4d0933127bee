#include "FormDesign.h"

#include <array>

#include "Product.h"

namespace velmora {

namespace {

constexpr FontSpec kFormFont{"Arial", 9, true};
constexpr FontSpec kButtonFont{"Arial", 11.25, true};

constexpr ControlSpec Button(std::string_view name, std::string_view caption, TwipsRect rect,
                             ControlId parent = kNoParent) {
    return {name, ControlKind::PushButton, caption, rect, parent, kButtonFont};
}

constexpr ControlSpec Option(std::string_view name, std::string_view caption, TwipsRect rect,
                             Control frame, bool selected, std::string_view accessibleName = {}) {
    return {name,     ControlKind::OptionButton, caption, rect, Id(frame), kFormFont, kWhite,
            selected, {}, accessibleName};
}

constexpr ControlSpec Hidden(std::string_view name, ControlKind kind, std::string_view caption = {},
                             ControlId parent = kNoParent) {
    return {name, kind, caption, {}, parent, kFormFont};
}

constexpr std::array<ControlSpec, Id(Control::Count)> kControls{{
    {"ListView1", ControlKind::ListView, "", {120, 120, 7800, 3180}, kNoParent, kFormFont, kWhite,
     false, "Move | line to right and out of window to reveal full names.", "Open windows"},
    Button("PushButton2", "Check All", {120, 3390, 3840, 405}),
    Button("PushButton3", "Uncheck All", {4080, 3390, 3840, 405}),
    Button("PushButton4", "Check Entries Containing X", {120, 3900, 3840, 405}),
    Button("PushButton5", "Check Entries Not Containing X", {4080, 3900, 3840, 405}),
    Button("PushButton6", "Hide Checked (Ctrl+Shift+H)", {120, 4410, 3840, 405}),
    Button("PushButton7", "Show Checked (Ctrl+Shift+S)", {4080, 4410, 3840, 405}),
    Button("PushButton8", "Close Checked (Ctrl+Shift+C)", {120, 4920, 3840, 405}),
    Button("PushButton9", "Minimize Checked (Ctrl+Shift+M)", {4080, 4920, 3840, 405}),
    Button("PushButton10", "Maximize Checked (Ctrl+Shift+X)", {120, 5430, 3840, 405}),
    Button("PushButton11", "Restore Checked (Ctrl+Shift+R)", {4080, 5430, 3840, 405}),
    Button("PushButton1", "Refresh List (Ctrl+Shift+L)", {120, 5940, 3840, 405}),
    Button("PushButton12", "Help", {4080, 5940, 3840, 405}),
    {"Frame2", ControlKind::Frame, "Refresh Option", {120, 6420, 7800, 1110}, kNoParent, kFormFont},
    Option("Option3", "Refresh list manually with a button", {240, 345, 4455, 255}, Control::Frame2,
           true),
    Option("Option4",
           "Refresh list automatically every                              seconds",
           {240, 690, 5415, 255}, Control::Frame2, false, "Refresh list automatically"),
    // The option's caption runs on either side of the field, which holds the interval.
    {"Text1", ControlKind::TextBox, "1", {3720, 630, 735, 345}, Id(Control::Frame2), kFormFont,
     kWhite, false, {}, "Refresh interval in seconds"},
    Button("PushButton13", "?", {6960, 420, 600, 345}, Id(Control::Frame2)),
    {"Frame1", ControlKind::Frame, "This Window Priority Option", {120, 7620, 7800, 1110},
     kNoParent, kFormFont},
    Option("Option1", "Treat this software as a regular window", {240, 345, 4455, 255},
           Control::Frame1, true),
    Option("Option2", "Keep this software on top of other windows", {240, 690, 4455, 255},
           Control::Frame1, false),
    Hidden("Timer1", ControlKind::Timer),
    Hidden("cSysTray1", ControlKind::TrayIcon),
    Hidden("SkinFramework1", ControlKind::SkinEngine),
    Hidden("mnuTray", ControlKind::Menu, "Brindleby"),
    Hidden("mnuStopMonitoring", ControlKind::MenuItem, "Stop Monitoring - Show Main Window",
           Id(Control::mnuTray)),
}};

constexpr FormSpec kMainForm{kProductName, 8040, 8790, kFormFont, kWhite, kControls};

}  // namespace

const FormSpec& MainFormDesign() { return kMainForm; }

}  // namespace velmora

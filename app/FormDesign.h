#pragma once
// The main window's design: every control with its kind, caption and place.

#include "platform/Widgets.h"

namespace velmora {

// Controls of the main window, in the order of the design table (frames before what they hold).
enum class Control : ControlId {
    ListView1,
    PushButton2,
    PushButton3,
    PushButton4,
    PushButton5,
    PushButton6,
    PushButton7,
    PushButton8,
    PushButton9,
    PushButton10,
    PushButton11,
    PushButton1,
    PushButton12,
    Frame2,
    Option3,
    Option4,
    Text1,
    PushButton13,
    Frame1,
    Option1,
    Option2,
    Timer1,
    cSysTray1,
    SkinFramework1,
    mnuTray,
    mnuStopMonitoring,
    Count,
};

constexpr ControlId Id(Control control) { return static_cast<ControlId>(control); }

// The main window as designed; controls are indexed by Control.
const FormSpec& MainFormDesign();

}  // namespace velmora

#pragma once
// The program's own window: built from a design table, driven by the core, reporting user
// actions back through FormEvents.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "Runtime.h"
#include "WindowSystem.h"

namespace velmora {

// Index of a control in the design table.
using ControlId = std::uint16_t;

enum class ControlKind : std::uint8_t {
    ListView,      // report view, a check box on every row
    PushButton,
    Frame,
    OptionButton,  // the core decides which option of a frame is selected
    TextBox,
    Timer,
    TrayIcon,
    SkinEngine,
    Menu,
    MenuItem,
};

struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
};

struct FontSpec {
    std::string_view face;
    double points = 0;
    bool bold = false;
};

inline constexpr std::uint32_t kWhite = 0x00FFFFFF;
inline constexpr ControlId kNoParent = 0xFFFF;

struct ControlSpec {
    std::string_view name;
    ControlKind kind;
    std::string_view caption;
    TwipsRect rect;             // relative to the parent frame, if any
    ControlId parent = kNoParent;
    FontSpec font;
    std::uint32_t backColor = kWhite;
    bool selected = false;      // option buttons: selected in the design
    std::string_view tooltip;
};

struct FormSpec {
    std::string_view caption;
    int clientWidth = 0, clientHeight = 0;  // twips
    FontSpec font;
    std::uint32_t backColor = kWhite;
    std::span<const ControlSpec> controls;
};

// Mouse pointer settings of the form.
inline constexpr int vbDefault = 0;
inline constexpr int vbHourglass = 11;
inline constexpr int vbCustom = 99;

// What the user does to the program's window. Implemented by the core.
class FormEvents {
public:
    virtual ~FormEvents() = default;
    virtual void Click(ControlId control) = 0;
    // The form's own background reports kNoParent.
    virtual void MouseMove(ControlId control) = 0;
    // The user changed the text of a text box.
    virtual void Change(ControlId control) = 0;
    virtual void GotFocus(ControlId control) = 0;
    virtual void LostFocus(ControlId control) = 0;
    // A key pressed while the form is active, before the focused control sees it. `shift`
    // holds 1 for Shift, 2 for Ctrl, 4 for Alt.
    virtual void KeyDown(int keyCode, int shift) = 0;
    virtual void Timer(ControlId timer) = 0;
    virtual void QueryUnload() = 0;
};

class Widgets {
public:
    virtual ~Widgets() = default;

    // Creates the form, hidden, with every control of the design.
    virtual void CreateForm(const FormSpec& design, FormEvents& events) = 0;
    // Shows the form centred on the screen and gives it the focus.
    virtual void ShowForm() = 0;
    virtual Hwnd FormHandle() = 0;
    virtual void SetFormCaption(std::string_view caption) = 0;
    virtual void SetFormIcon() = 0;  // the program's own icon

    virtual int MousePointer() = 0;
    virtual void SetMousePointer(int pointer) = 0;
    virtual void SetMouseIcon(Picture picture) = 0;

    // Caption of a button, frame or option; text of a text box. Setting it raises no event.
    virtual std::string Text(ControlId control) = 0;
    virtual void SetText(ControlId control, std::string_view text) = 0;
    // Option buttons: selected or cleared, exactly as set (no grouping of its own).
    virtual bool Value(ControlId control) = 0;
    virtual void SetValue(ControlId control, bool selected) = 0;
    virtual void SetEnabled(ControlId control, bool enabled) = 0;
    virtual bool Enabled(ControlId control) = 0;
    // Moves the keyboard focus, raising LostFocus and GotFocus as the user's move would.
    virtual void SetFocus(ControlId control) = 0;
    // A timer ticks every `milliseconds` while that is above 0; at 0 there is no timer at all.
    virtual void SetTimerInterval(ControlId timer, int milliseconds) = 0;

    // List view, rows counted from 1.
    virtual void AddColumn(ControlId list, std::string_view heading) = 0;
    virtual void SetColumnWidth(ControlId list, int column, int twips) = 0;
    virtual void ClearRows(ControlId list) = 0;
    virtual void AddRow(ControlId list, std::string_view text) = 0;
    virtual int RowCount(ControlId list) = 0;
    virtual std::string RowText(ControlId list, int row) = 0;
    virtual bool RowChecked(ControlId list, int row) = 0;
    virtual void SetRowChecked(ControlId list, int row, bool checked) = 0;
    virtual std::string RowSubItem(ControlId list, int row, int subItem) = 0;
    virtual void SetRowSubItem(ControlId list, int row, int subItem, std::string_view text) = 0;
};

}  // namespace velmora

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
    CheckBox,
    Label,
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
    // What assistive technology calls the control where its caption does not say it.
    std::string_view accessibleName;
};

struct FormSpec {
    std::string_view caption;
    int clientWidth = 0, clientHeight = 0;  // twips
    FontSpec font;
    std::uint32_t backColor = kWhite;
    std::span<const ControlSpec> controls;
};

// Window states of the form.
inline constexpr int vbNormal = 0;
inline constexpr int vbMinimized = 1;
inline constexpr int vbMaximized = 2;

// Colours: a value with the high bit set names a system colour by its low byte.
inline constexpr std::uint32_t kButtonFace = 0x8000000F;

// The colours a skin gives the form: background of the form and its plain controls, their
// text, and highlights.
struct Palette {
    std::uint32_t face = 0;
    std::uint32_t text = 0;
    std::uint32_t highlight = 0;
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
    // The form's size or window state changed.
    virtual void Resize() = 0;
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
    virtual int FormWindowState() = 0;
    virtual void SetFormWindowState(int state) = 0;
    // Shows or hides the form where it is, without centring it again.
    virtual void SetFormVisible(bool visible) = 0;
    // Makes the form the active window with the keyboard focus.
    virtual void FocusForm() = 0;
    // Background colours: of the form, and of one control.
    virtual void SetFormBackColor(std::uint32_t color) = 0;
    virtual void SetBackColor(ControlId control, std::uint32_t color) = 0;
    // Repaints the form with a skin's colours; the button-face colour then means `face`.
    virtual void ApplyPalette(const Palette& palette) = 0;

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

#pragma once
// The program's own window on Windows: a fixed-size top-level window with common controls,
// built from the design table.

#include "WindowsApi.h"

#include <map>
#include <optional>
#include <vector>

#include "MessagePump.h"
#include "Pictures.h"
#include "RedrawSuspension.h"
#include "platform/Widgets.h"

namespace velmora::win32 {

class Win32Widgets : public Widgets {
public:
    Win32Widgets(MessagePump& pump, const Pictures& pictures);
    ~Win32Widgets() override;
    Win32Widgets(const Win32Widgets&) = delete;
    Win32Widgets& operator=(const Win32Widgets&) = delete;

    HWND Form() const { return form_; }

    void CreateForm(const FormSpec& design, FormEvents& events) override;
    void ShowForm() override;
    Hwnd FormHandle() override;
    void SetFormCaption(std::string_view caption) override;
    void SetFormIcon() override;
    int MousePointer() override { return pointer_; }
    void SetMousePointer(int pointer) override;
    void SetMouseIcon(Picture picture) override;
    std::string Text(ControlId control) override;
    void SetText(ControlId control, std::string_view text) override;
    bool Value(ControlId control) override;
    void SetValue(ControlId control, bool selected) override;
    void SetEnabled(ControlId control, bool enabled) override;
    bool Enabled(ControlId control) override;
    int FormWindowState() override;
    void SetFormWindowState(int state) override;
    void SetFormVisible(bool visible) override;
    void FocusForm() override;
    void SetFormBackColor(std::uint32_t color) override;
    void SetBackColor(ControlId control, std::uint32_t color) override;
    void ApplyPalette(const Palette& palette) override;
    void SetFocus(ControlId control) override;
    void SetTimerInterval(ControlId timer, int milliseconds) override;
    void AddColumn(ControlId list, std::string_view heading) override;
    void SetColumnWidth(ControlId list, int column, int twips) override;
    void ClearRows(ControlId list) override;
    void AddRow(ControlId list, std::string_view text) override;
    int RowCount(ControlId list) override;
    std::string RowText(ControlId list, int row) override;
    bool RowChecked(ControlId list, int row) override;
    void SetRowChecked(ControlId list, int row, bool checked) override;
    std::string RowSubItem(ControlId list, int row, int subItem) override;
    void SetRowSubItem(ControlId list, int row, int subItem, std::string_view text) override;

private:
    struct ControlWindow {
        ControlKind kind{};
        HWND window = nullptr;
        RECT rect{};  // in the form's client area
        std::uint32_t backColor = 0;  // as set: may name a system colour
        bool paintsBackground = false;  // frames and options take their colour from here
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Sees the form's messages before dispatch: mouse moves over controls, dialog keys.
    bool Filter(MSG& message);
    void CreateControl(ControlId id, const ControlSpec& entry, const FormSpec& design);
    // Cuts the rectangle `cover` lies on out of `control`'s window shape.
    static void CutAround(const ControlWindow& control, const RECT& cover);
    void ShowPointer();
    ControlId ControlAt(HWND window) const;  // kNoParent when not one of ours
    void SettleFocus();
    ControlId FrameAt(POINT clientPoint) const;
    HWND Window(ControlId control) const;
    int RowIndex(ControlId list, int row) const;  // 0-based index of an existing row
    // The list's window, with its drawing suspended until the handler changing it has returned,
    // so that a change to many rows costs one repaint instead of one per row.
    HWND BatchedList(ControlId list);
    int Pixels(int twips) const { return MulDiv(twips, dpi_, 1440); }
    HFONT Font(const FontSpec& face);
    // A colour as it is painted: system colours, and the button face of a skin, resolved.
    COLORREF Resolve(std::uint32_t color) const;
    HBRUSH Brush(COLORREF color);

    MessagePump& pump_;
    const Pictures& pictures_;
    FormEvents* events_ = nullptr;
    HWND form_ = nullptr;
    HWND tooltip_ = nullptr;
    // The controls the tooltip describes. Their mouse messages are relayed from the message
    // loop: letting the tooltip subclass them would route every message a control gets through
    // comctl32's subclass procedure, which looks its data up as a window property each time.
    std::vector<HWND> tooltipTools_;
    HMENU menu_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::uint32_t formBackColor_ = 0;
    std::optional<Palette> palette_;
    std::map<COLORREF, HBRUSH> brushes_;
    bool restoreWhenShown_ = false;  // the window state went back to normal while hidden
    std::vector<ControlWindow> controls_;
    std::optional<RedrawSuspension> listRedraw_;
    std::vector<HFONT> fonts_;
    int dpi_ = 96;
    int pointer_ = vbDefault;
    HCURSOR customCursor_ = nullptr;
    bool programSetsText_ = false;
    // The text box that has the focus as the form sees it: moves to other programs and boxes
    // do not take it away. kNoParent: none.
    ControlId focusedTextBox_ = kNoParent;
    bool losingFocus_ = false;  // its loss of focus is being handled
    std::vector<ControlId> pendingClicks_;
};

}  // namespace velmora::win32

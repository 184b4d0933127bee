#include "Win32Widgets.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "Handles.h"
#include "Utf.h"
#include "platform/RuntimeError.h"

namespace velmora::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"VelmoraSuiteMain";
constexpr int kFirstControlId = 100;
constexpr UINT_PTR kFirstTimerId = 100;
// Where the keyboard focus went is looked at once it has settled on its new owner.
constexpr UINT kSettleFocus = WM_APP + 1;
// Ends a batch of list changes: posted when the batch begins, so it arrives once the handler
// that changes the rows has returned to whichever loop takes messages (the program's own, a
// nested wait's, or a message box's), after any message sent to the program meanwhile.
constexpr UINT kEndListBatch = WM_APP + 2;
constexpr int kProgramIcon = 1;  // resource id
// Fixed single border, no maximize button. No WS_CLIPCHILDREN: the frames are see-through and
// show the form's background.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;


// The state of Shift (1), Ctrl (2) and Alt (4) now.
int ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

Win32Widgets::Win32Widgets(MessagePump& pump, const Pictures& pictures)
    : pump_(pump), pictures_(pictures) {
    const HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    pump_.SetFilter([this](MSG& message) { return Filter(message); });
}

Win32Widgets::~Win32Widgets() {
    pump_.SetFilter({});
    listRedraw_.reset();
    if (tooltip_ != nullptr) DestroyWindow(tooltip_);
    if (form_ != nullptr) DestroyWindow(form_);
    if (menu_ != nullptr) DestroyMenu(menu_);
    for (const auto& [colour, brush] : brushes_) DeleteObject(brush);
    for (const HFONT font : fonts_) DeleteObject(font);
    if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

HFONT Win32Widgets::Font(const FontSpec& face) {
    const int height = -static_cast<int>(std::lround(face.points * dpi_ / 72.0));
    const HFONT font = CreateFontW(height, 0, 0, 0, face.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                   FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                   Widen(face.face).c_str());
    fonts_.push_back(font);
    return font;
}

void Win32Widgets::CreateForm(const FormSpec& design, FormEvents& events) {
    events_ = &events;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto loadIcon = [instance](int size) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                                             size, size, 0));
    };
    bigIcon_ = loadIcon(GetSystemMetrics(SM_CXICON));
    smallIcon_ = loadIcon(GetSystemMetrics(SM_CXSMICON));
    formBackColor_ = design.backColor;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = bigIcon_;
    windowClass.hIconSm = smallIcon_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kFormClass;
    RegisterClassExW(&windowClass);

    RECT frame{0, 0, Pixels(design.clientWidth), Pixels(design.clientHeight)};
    AdjustWindowRectEx(&frame, kFormStyle, FALSE, 0);
    form_ = CreateWindowExW(0, kFormClass, Widen(design.caption).c_str(), kFormStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                            nullptr, nullptr, instance, this);
    SendMessageW(form_, WM_SETFONT, reinterpret_cast<WPARAM>(Font(design.font)), FALSE);

    // The tooltip window is not owned by the form: under Wine, an owned popup keeps its owner
    // out of the topmost band when the owner is made topmost.
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                               nullptr, instance, nullptr);
    controls_.assign(design.controls.size(), {});
    for (ControlId id = 0; id < design.controls.size(); ++id) {
        CreateControl(id, design.controls[id], design);
    }
    // Frames lie behind what they hold. The z-order is also the Tab order, which follows the
    // design: a text box stays after the option whose caption is left blank for it, and the
    // option is cut around it instead, so that the text box shows and takes its clicks.
    for (const ControlWindow& control : controls_) {
        if (control.kind == ControlKind::Frame) {
            SetWindowPos(control.window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        } else if (control.kind == ControlKind::TextBox) {
            for (const ControlWindow& option : controls_) {
                if (option.kind == ControlKind::OptionButton) CutAround(option, control.rect);
            }
        }
    }
}

void Win32Widgets::CutAround(const ControlWindow& control, const RECT& cover) {
    RECT overlap{};
    if (!IntersectRect(&overlap, &control.rect, &cover)) return;
    OffsetRect(&overlap, -control.rect.left, -control.rect.top);
    HRGN shape = CreateRectRgn(0, 0, control.rect.right - control.rect.left,
                               control.rect.bottom - control.rect.top);
    HRGN hole = CreateRectRgnIndirect(&overlap);
    CombineRgn(shape, shape, hole, RGN_DIFF);
    DeleteObject(hole);
    // The window owns the region from here on.
    SetWindowRgn(control.window, shape, FALSE);
}

void Win32Widgets::CreateControl(ControlId id, const ControlSpec& entry, const FormSpec& design) {
    ControlWindow& control = controls_[id];
    control.kind = entry.kind;
    control.backColor = entry.backColor;
    if (entry.kind == ControlKind::Menu) {
        // The design's tray menu: it exists, nothing opens it and it is not in a menu bar.
        menu_ = CreatePopupMenu();
        return;
    }
    if (entry.kind == ControlKind::MenuItem) {
        AppendMenuW(menu_, MF_STRING, static_cast<UINT_PTR>(kFirstControlId + id),
                    Widen(entry.caption).c_str());
        return;
    }

    const wchar_t* windowClass = nullptr;
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (entry.kind) {
        case ControlKind::ListView:
            windowClass = WC_LISTVIEWW;
            style |= WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::PushButton:
            windowClass = WC_BUTTONW;
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::Frame:
            windowClass = WC_BUTTONW;
            style |= BS_GROUPBOX;
            break;
        case ControlKind::OptionButton:
            // Not an automatic radio button: the core decides which option is selected.
            windowClass = WC_BUTTONW;
            style |= WS_TABSTOP | BS_RADIOBUTTON | WS_CLIPSIBLINGS;
            break;
        case ControlKind::TextBox:
            windowClass = WC_EDITW;
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        default:
            return;  // timer, tray icon and skin engine have no window of their own here
    }

    TwipsRect rect = entry.rect;
    if (entry.parent != kNoParent) {
        rect.left += design.controls[entry.parent].rect.left;
        rect.top += design.controls[entry.parent].rect.top;
    }
    control.rect = {Pixels(rect.left), Pixels(rect.top), Pixels(rect.left + rect.width),
                    Pixels(rect.top + rect.height)};
    control.window = CreateWindowExW(
        exStyle, windowClass, Widen(entry.caption).c_str(), style, control.rect.left,
        control.rect.top, control.rect.right - control.rect.left,
        control.rect.bottom - control.rect.top, form_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + id)),
        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(Font(entry.font)), FALSE);
    control.paintsBackground = entry.kind == ControlKind::Frame ||
                               entry.kind == ControlKind::OptionButton ||
                               entry.kind == ControlKind::CheckBox || entry.kind == ControlKind::Label;
    if (entry.kind == ControlKind::OptionButton) {
        SendMessageW(control.window, BM_SETCHECK, entry.selected ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (entry.kind == ControlKind::ListView) {
        const DWORD listStyle = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
        SendMessageW(control.window, LVM_SETEXTENDEDLISTVIEWSTYLE, listStyle, listStyle);
        if (!entry.tooltip.empty()) {
            std::wstring tip = Widen(entry.tooltip);
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND;
            tool.hwnd = form_;
            tool.uId = reinterpret_cast<UINT_PTR>(control.window);
            tool.lpszText = tip.data();
            SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
            tooltipTools_.push_back(control.window);
        }
    }
}

void Win32Widgets::ShowForm() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT window{};
    GetWindowRect(form_, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    SetWindowPos(form_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(form_, SW_SHOWNORMAL);
    SetForegroundWindow(form_);
}

Hwnd Win32Widgets::FormHandle() { return FromHwnd(form_); }

void Win32Widgets::SetFormCaption(std::string_view caption) {
    SetWindowTextW(form_, Widen(caption).c_str());
}

void Win32Widgets::SetFormIcon() {
    SendMessageW(form_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageW(form_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

void Win32Widgets::SetMousePointer(int pointer) {
    pointer_ = pointer;
    ShowPointer();
}

void Win32Widgets::SetMouseIcon(Picture picture) {
    customCursor_ = pictures_.Image(picture);
    ShowPointer();
}

// Applies the pointer setting at once when the mouse is over the form.
void Win32Widgets::ShowPointer() {
    POINT point{};
    GetCursorPos(&point);
    const HWND under = WindowFromPoint(point);
    if (under == form_ || (under != nullptr && IsChild(form_, under))) {
        SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
}

std::string Win32Widgets::Text(ControlId control) { return Narrow(WindowText(Window(control))); }

void Win32Widgets::SetText(ControlId control, std::string_view text) {
    // Only the user's edits are reported as changes.
    programSetsText_ = true;
    SetWindowTextW(Window(control), Widen(text).c_str());
    programSetsText_ = false;
}

bool Win32Widgets::Value(ControlId control) {
    return SendMessageW(Window(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Widgets::SetValue(ControlId control, bool selected) {
    SendMessageW(Window(control), BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Widgets::SetEnabled(ControlId control, bool enabled) {
    EnableWindow(Window(control), enabled ? TRUE : FALSE);
}

bool Win32Widgets::Enabled(ControlId control) { return IsWindowEnabled(Window(control)) != FALSE; }

int Win32Widgets::FormWindowState() {
    if (restoreWhenShown_) return vbNormal;
    return IsIconic(form_) ? vbMinimized : IsZoomed(form_) ? vbMaximized : vbNormal;
}

void Win32Widgets::SetFormWindowState(int state) {
    // A hidden window keeps its state until it is shown: showing it must not happen here.
    if (!IsWindowVisible(form_)) {
        restoreWhenShown_ = state == vbNormal;
        return;
    }
    ShowWindow(form_, state == vbMinimized ? SW_MINIMIZE : state == vbMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void Win32Widgets::SetFormVisible(bool visible) {
    if (!visible) {
        ShowWindow(form_, SW_HIDE);
        return;
    }
    ShowWindow(form_, restoreWhenShown_ || IsIconic(form_) ? SW_RESTORE : SW_SHOW);
    restoreWhenShown_ = false;
}

void Win32Widgets::FocusForm() {
    SetForegroundWindow(form_);
    ::SetFocus(form_);
}

void Win32Widgets::SetFormBackColor(std::uint32_t color) {
    formBackColor_ = color;
    InvalidateRect(form_, nullptr, TRUE);
}

void Win32Widgets::SetBackColor(ControlId control, std::uint32_t color) {
    controls_.at(control).backColor = color;
    if (controls_[control].window != nullptr) InvalidateRect(controls_[control].window, nullptr, TRUE);
}

void Win32Widgets::ApplyPalette(const Palette& palette) {
    palette_ = palette;
    RedrawWindow(form_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

COLORREF Win32Widgets::Resolve(std::uint32_t color) const {
    if (color == kButtonFace && palette_) return palette_->face;
    // A colour with the high bit set names a system colour by its low byte.
    if ((color & 0x80000000u) != 0) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color & 0x00FFFFFF);
}

HBRUSH Win32Widgets::Brush(COLORREF color) {
    auto& brush = brushes_[color];
    if (brush == nullptr) brush = CreateSolidBrush(color);
    return brush;
}

void Win32Widgets::SetFocus(ControlId control) {
    const HWND window = Window(control);
    if (!IsWindowEnabled(window)) throw RuntimeError::InvalidProcedureCall();
    ::SetFocus(window);
}

void Win32Widgets::SetTimerInterval(ControlId timer, int milliseconds) {
    if (milliseconds > 0) {
        SetTimer(form_, kFirstTimerId + timer, static_cast<UINT>(milliseconds), nullptr);
    } else {
        KillTimer(form_, kFirstTimerId + timer);
    }
}

void Win32Widgets::AddColumn(ControlId list, std::string_view heading) {
    const HWND view = Window(list);
    const HWND header = reinterpret_cast<HWND>(SendMessageW(view, LVM_GETHEADER, 0, 0));
    const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    std::wstring text = Widen(heading);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text.data();
    column.cx = Pixels(1440);
    if (SendMessageW(view, LVM_INSERTCOLUMNW, count, reinterpret_cast<LPARAM>(&column)) < 0) {
        throw RuntimeError::OutOfMemory();
    }
}

void Win32Widgets::SetColumnWidth(ControlId list, int column, int twips) {
    if (column < 1 || !SendMessageW(Window(list), LVM_SETCOLUMNWIDTH, column - 1, Pixels(twips))) {
        throw RuntimeError::IndexOutOfBounds();
    }
}

HWND Win32Widgets::BatchedList(ControlId list) {
    const HWND view = Window(list);
    if (!listRedraw_ || listRedraw_->Window() != view) {
        listRedraw_.reset();
        listRedraw_.emplace(view);
        // Without the message that ends it, a batch would never be drawn: draw row by row.
        if (!PostMessageW(form_, kEndListBatch, 0, 0)) listRedraw_.reset();
    }
    return view;
}

void Win32Widgets::ClearRows(ControlId list) {
    SendMessageW(BatchedList(list), LVM_DELETEALLITEMS, 0, 0);
}

void Win32Widgets::AddRow(ControlId list, std::string_view text) {
    const HWND view = BatchedList(list);
    std::wstring wide = Widen(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = wide.data();
    if (SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0) {
        throw RuntimeError::OutOfMemory();
    }
}

int Win32Widgets::RowCount(ControlId list) {
    return static_cast<int>(SendMessageW(Window(list), LVM_GETITEMCOUNT, 0, 0));
}

std::string Win32Widgets::RowText(ControlId list, int row) { return RowSubItem(list, row, 0); }

bool Win32Widgets::RowChecked(ControlId list, int row) {
    const auto state = SendMessageW(Window(list), LVM_GETITEMSTATE, RowIndex(list, row),
                                    LVIS_STATEIMAGEMASK);
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void Win32Widgets::SetRowChecked(ControlId list, int row, bool checked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    const int index = RowIndex(list, row);
    SendMessageW(BatchedList(list), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

std::string Win32Widgets::RowSubItem(ControlId list, int row, int subItem) {
    const HWND view = Window(list);
    const int index = RowIndex(list, row);
    std::wstring text(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto copied = static_cast<std::size_t>(
            SendMessageW(view, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
        if (copied + 1 < text.size()) {
            text.resize(copied);
            return Narrow(text);
        }
        text.resize(text.size() * 2);
    }
}

void Win32Widgets::SetRowSubItem(ControlId list, int row, int subItem, std::string_view text) {
    std::wstring wide = Widen(text);
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = wide.data();
    const int index = RowIndex(list, row);
    if (!SendMessageW(BatchedList(list), LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item))) {
        throw RuntimeError::IndexOutOfBounds();
    }
}

HWND Win32Widgets::Window(ControlId control) const {
    if (control >= controls_.size() || controls_[control].window == nullptr) {
        throw RuntimeError::IndexOutOfBounds();
    }
    return controls_[control].window;
}

int Win32Widgets::RowIndex(ControlId list, int row) const {
    const auto count = SendMessageW(Window(list), LVM_GETITEMCOUNT, 0, 0);
    if (row < 1 || row > count) throw RuntimeError::IndexOutOfBounds();
    return row - 1;
}

ControlId Win32Widgets::ControlAt(HWND window) const {
    for (ControlId id = 0; id < controls_.size(); ++id) {
        const HWND own = controls_[id].window;
        if (own != nullptr && (own == window || IsChild(own, window))) return id;
    }
    return kNoParent;
}

ControlId Win32Widgets::FrameAt(POINT clientPoint) const {
    for (ControlId id = 0; id < controls_.size(); ++id) {
        if (controls_[id].kind == ControlKind::Frame && PtInRect(&controls_[id].rect, clientPoint)) {
            return id;
        }
    }
    return kNoParent;
}

// The text box loses the form's focus when the keyboard focus has moved to another of the
// form's controls; focus that went to another program, a box or the form itself leaves it
// there. The clicks that waited for this run after it.
void Win32Widgets::SettleFocus() {
    if (losingFocus_) return;  // the loss being handled runs the clicks when it is done
    if (focusedTextBox_ != kNoParent) {
        const ControlId now = ControlAt(GetFocus());
        if (now != kNoParent && now != focusedTextBox_) {
            losingFocus_ = true;
            events_->LostFocus(std::exchange(focusedTextBox_, kNoParent));
            losingFocus_ = false;
        }
    }
    for (const ControlId control : std::exchange(pendingClicks_, {})) events_->Click(control);
}

bool Win32Widgets::Filter(MSG& message) {
    if (form_ == nullptr) return false;
    // The form sees every key press before the control that has the focus.
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
        (message.hwnd == form_ || IsChild(form_, message.hwnd))) {
        events_->KeyDown(static_cast<int>(message.wParam), ShiftState());
    }
    if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST &&
        std::ranges::find(tooltipTools_, message.hwnd) != tooltipTools_.end()) {
        SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    }
    if (message.message == WM_MOUSEMOVE && message.hwnd != form_) {
        const ControlId control = ControlAt(message.hwnd);
        if (control != kNoParent) events_->MouseMove(control);
    }
    // Tab and arrow keys move between the controls as in a dialog.
    return IsDialogMessageW(form_, &message) != FALSE;
}

LRESULT CALLBACK Win32Widgets::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Widgets*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->form_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Widgets*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(window, message, wParam, lParam);
}

LRESULT Win32Widgets::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam) - kFirstControlId;
            if (id < 0 || id >= static_cast<int>(controls_.size())) break;
            const auto control = static_cast<ControlId>(id);
            const ControlKind kind = controls_[control].kind;
            const WORD code = HIWORD(wParam);
            if (code == BN_CLICKED &&
                (kind == ControlKind::PushButton || kind == ControlKind::OptionButton)) {
                // A click waits behind the text box's loss of focus, also the click of an option
                // that clicks itself while it takes the focus.
                if (focusedTextBox_ != kNoParent || losingFocus_) {
                    pendingClicks_.push_back(control);
                    PostMessageW(window, kSettleFocus, 0, 0);
                } else {
                    events_->Click(control);
                }
            } else if (code == EN_CHANGE && kind == ControlKind::TextBox && !programSetsText_) {
                events_->Change(control);
            } else if (code == EN_SETFOCUS && kind == ControlKind::TextBox) {
                // The focus coming back from outside the form (the window activated again, a
                // box closed) to the text box that had it is no move of the form's.
                if (focusedTextBox_ != control) {
                    focusedTextBox_ = control;
                    events_->GotFocus(control);
                }
            } else if (code == EN_KILLFOCUS && kind == ControlKind::TextBox) {
                PostMessageW(window, kSettleFocus, 0, 0);
            }
            return 0;
        }
        case kSettleFocus:
            SettleFocus();
            return 0;
        case kEndListBatch:
            listRedraw_.reset();
            return 0;
        case WM_TIMER:
            if (wParam >= kFirstTimerId && wParam < kFirstTimerId + controls_.size()) {
                events_->Timer(static_cast<ControlId>(wParam - kFirstTimerId));
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC: {
            const ControlId control = ControlAt(reinterpret_cast<HWND>(lParam));
            if (control == kNoParent || !controls_[control].paintsBackground) break;
            const COLORREF colour = Resolve(controls_[control].backColor);
            SetBkColor(reinterpret_cast<HDC>(wParam), colour);
            if (palette_) SetTextColor(reinterpret_cast<HDC>(wParam), palette_->text);
            return reinterpret_cast<LRESULT>(Brush(colour));
        }
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, Brush(Resolve(formBackColor_)));
            return 1;
        }
        case WM_SIZE:
            events_->Resize();
            return 0;
        case WM_SETCURSOR:
            if (pointer_ == vbHourglass) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            if (pointer_ == vbCustom && LOWORD(lParam) == HTCLIENT) {
                SetCursor(customCursor_ != nullptr ? customCursor_ : LoadCursorW(nullptr, IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE: {
            const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            events_->MouseMove(FrameAt(point));
            return 0;
        }
        case WM_QUERYENDSESSION:
            return TRUE;  // the program never holds up the end of the session
        case WM_ENDSESSION:
            // The session ends: the program shuts down as when its window is closed.
            if (wParam) events_->QueryUnload();
            return 0;
        case WM_CLOSE:
            events_->QueryUnload();
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            form_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace velmora::win32

// The program as assistive technology reads it on Windows (MSAA through oleacc): the list's rows
// with their check states and the buttons' names; and its keyboard use: Tab down the form, and
// Space on the list's focused row.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Driver.h"

namespace {

std::string Hex(long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%lx", value);
    return text;
}

// One object of oleacc's and the child ids it serves.
class MsaaObject {
public:
    explicit MsaaObject(HWND window) {
        AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object_));
    }
    ~MsaaObject() {
        if (object_) object_->Release();
    }
    MsaaObject(const MsaaObject&) = delete;
    MsaaObject& operator=(const MsaaObject&) = delete;

    explicit operator bool() const { return object_ != nullptr; }

    long ChildCount() const {
        long count = -1;
        if (object_) object_->get_accChildCount(&count);
        return count;
    }
    std::string Name(long child = CHILDID_SELF) const {
        BSTR name = nullptr;
        if (!object_ || object_->get_accName(Child(child), &name) != S_OK || !name) return "(none)";
        std::string text = Utf8(name);
        SysFreeString(name);
        return text;
    }
    long Role(long child = CHILDID_SELF) const { return Number(&IAccessible::get_accRole, child); }
    long State(long child = CHILDID_SELF) const {
        return Number(&IAccessible::get_accState, child);
    }

private:
    // A property that oleacc answers with a number; -1 when it does not.
    long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*),
                long child) const {
        VARIANT value;
        VariantInit(&value);
        const bool answered = object_ && (object_->*get)(Child(child), &value) == S_OK &&
                              value.vt == VT_I4;
        const long number = answered ? value.lVal : -1;
        VariantClear(&value);
        return number;
    }
    static VARIANT Child(long id) {
        VARIANT child;
        VariantInit(&child);
        child.vt = VT_I4;
        child.lVal = id;
        return child;
    }
    IAccessible* object_ = nullptr;
};

struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
};

constexpr const wchar_t* kButtons[] = {
    L"Check All",
    L"Uncheck All",
    L"Check Entries Containing X",
    L"Check Entries Not Containing X",
    L"Hide Checked (Ctrl+Shift+H)",
    L"Show Checked (Ctrl+Shift+S)",
    L"Close Checked (Ctrl+Shift+C)",
    L"Minimize Checked (Ctrl+Shift+M)",
    L"Maximize Checked (Ctrl+Shift+X)",
    L"Restore Checked (Ctrl+Shift+R)",
    L"Refresh List (Ctrl+Shift+L)",
    L"Help",
    L"?",
};

constexpr wchar_t kTimedRefresh[] =
    L"Refresh list automatically every                              seconds";

// Tab from the list, with timed refresh chosen so that the field takes part: down the form, and
// of each frame's options only the selected one.
constexpr const char* kTabOrder[] = {
    "Check All",
    "Uncheck All",
    "Check Entries Containing X",
    "Check Entries Not Containing X",
    "Hide Checked (Ctrl+Shift+H)",
    "Show Checked (Ctrl+Shift+S)",
    "Close Checked (Ctrl+Shift+C)",
    "Minimize Checked (Ctrl+Shift+M)",
    "Maximize Checked (Ctrl+Shift+X)",
    "Restore Checked (Ctrl+Shift+R)",
    "Refresh List (Ctrl+Shift+L)",
    "Help",
    "Refresh list automatically every                              seconds",
    "(field)",
    "?",
    "Treat this software as a regular window",
    "(list)",
};

// The caption of the program's control that has the keyboard focus.
std::string FocusedCaption(const ProgramUnderTest& program) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(program.MainWindow(), nullptr);
    if (!GetGUIThreadInfo(thread, &info) || !info.hwndFocus) return "(nothing)";
    wchar_t className[64] = {};
    GetClassNameW(info.hwndFocus, className, 64);
    if (std::wstring(className) == WC_LISTVIEWW) return "(list)";
    if (std::wstring(className) == L"Edit") return "(field)";
    wchar_t caption[256] = {};
    GetWindowTextW(info.hwndFocus, caption, 256);
    return Utf8(caption);
}

// What oleacc serves for the list view: its rows with their names and check states where it
// serves them as children, and a line saying what it showed either way.
void CheckListThroughOleacc(Checks& check, const ProgramUnderTest& program) {
    const std::vector<Row> rows = ReadRows(program);
    const MsaaObject list(program.Control(WC_LISTVIEWW, nullptr));
    std::printf("oleacc list view: role %ld, name '%s', %ld children for %zu rows",
                list.Role(), list.Name().c_str(), list.ChildCount(), rows.size());
    if (list.ChildCount() >= 1) {
        std::printf("; child 1: role %ld, name '%s', state %s", list.Role(1), list.Name(1).c_str(),
                    Hex(list.State(1)).c_str());
    }
    std::printf("\n");
    check(static_cast<bool>(list), "oleacc serves an object for the list view");
    if (list.ChildCount() != static_cast<long>(rows.size()) || list.Role(1) != ROLE_SYSTEM_LISTITEM) {
        return;
    }
    bool same = true;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const long child = static_cast<long>(i) + 1;
        const bool checked = (list.State(child) & STATE_SYSTEM_CHECKED) != 0;
        same = same && list.Name(child) == rows[i].title && checked == rows[i].checked;
    }
    check(same, "oleacc reads each row's title and check state as the list holds them");
}

}  // namespace

void RunAccessibility(Checks& check, const std::wstring& exe) {
    ForgetSettings();
    const ComApartment apartment;
    Targets targets;
    const std::wstring alpha = L"Velmora A11y Alpha";
    targets.Create(alpha, WS_OVERLAPPEDWINDOW);
    targets.Create(L"Velmora A11y Beta", WS_OVERLAPPEDWINDOW);
    PumpFor(1500);
    ProgramUnderTest program(exe);
    SetRowChecked(program, RowIndex(ReadRows(program), Utf8(alpha)), true);
    CheckListThroughOleacc(check, program);

    std::string names;
    bool named = true;
    for (const wchar_t* caption : kButtons) {
        const MsaaObject button(program.Control(L"Button", caption));
        named = named && button.Name() == Utf8(caption);
        names += " [" + button.Name() + "]";
    }
    check(named, "oleacc names every push button by its caption:" + names);

    // Space on the list's focused row, Home having put the focus on the first row.
    check(BringToFront(program.MainWindow()), "the program's window comes to the front");
    ClickAt(program.Control(WC_LISTVIEWW, nullptr));
    PumpFor(300);
    check(FocusedCaption(program) == "(list)", "a click on the list gives it the focus");
    TypeChord({VK_HOME});
    for (const char* what :
         {"Space toggles the focused row's check box", "and Space again toggles it back"}) {
        const bool before = ReadRows(program).front().checked;
        TypeChord({VK_SPACE});
        check(WaitUntil([&] { return ReadRows(program).front().checked != before; }, 3000), what);
    }

    check(program.Click(kTimedRefresh), "timed refresh is chosen, which enables the field");
    check(BringToFront(program.MainWindow()), "the program's window is in front again");
    check(WaitUntil(
              [&] {
                  ClickAt(program.Control(WC_LISTVIEWW, nullptr));
                  PumpFor(200);
                  return FocusedCaption(program) == "(list)";
              },
              3000),
          "the list has the focus again");
    std::string order = FocusedCaption(program);
    bool inOrder = true;
    for (const char* expected : kTabOrder) {
        TypeChord({VK_TAB});
        std::string focused;
        inOrder = WaitUntil([&] { return (focused = FocusedCaption(program)) == expected; }, 2000) &&
                  inOrder;
        order += " > " + focused;
    }
    check(inOrder, "Tab visits the list, the buttons row by row, the selected option, the field "
                   "and ?, the other frame's selected option, and the list again: " + order);
    program.Click(L"Refresh list manually with a button");
}

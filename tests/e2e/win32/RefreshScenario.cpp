// Hotkeys, timed refresh with its interval check, and the window priority options, on the real
// program, with their settings read back from the registry.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>

#include "Driver.h"

namespace {

constexpr wchar_t kOption1[] = L"Treat this software as a regular window";
constexpr wchar_t kOption2[] = L"Keep this software on top of other windows";
constexpr wchar_t kOption3[] = L"Refresh list manually with a button";
constexpr wchar_t kOption4[] =
    L"Refresh list automatically every                              seconds";

bool Listed(const ProgramUnderTest& program, const std::wstring& title) {
    return RowIndex(ReadRows(program), Utf8(title)) >= 0;
}

bool IsTopmost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Whether `window` lies below every one of `others` in the z-order.
bool BehindAll(HWND window, std::initializer_list<HWND> others) {
    int seen = 0;
    for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == window) return seen == static_cast<int>(others.size());
        for (const HWND other : others) seen += other == w ? 1 : 0;
    }
    return false;
}

HWND Edit(const ProgramUnderTest& program) { return program.Control(L"Edit", nullptr); }

void SetInterval(const ProgramUnderTest& program, const wchar_t* text) {
    SendMessageW(Edit(program), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

void RunRefreshAndPriority(Checks& check, const std::wstring& exe) {
    ForgetSettings();
    Targets targets;
    const std::wstring oneTitle = L"Velmora Key One";
    const HWND one = targets.Create(oneTitle, WS_OVERLAPPEDWINDOW);
    const HWND two = targets.Create(L"Velmora Key Two", WS_OVERLAPPEDWINDOW);
    PumpFor(1500);
    {
        ProgramUnderTest program(exe);
        const HWND main = program.MainWindow();

        SetRowChecked(program, RowIndex(ReadRows(program), Utf8(oneTitle)), true);
        check(BringToFront(main), "the program's window comes to the front");
        TypeChord({VK_CONTROL, VK_SHIFT, 'H'});
        PumpFor(800);
        check(!IsWindowVisible(one) && IsWindowVisible(two), "Ctrl+Shift+H hides the ticked window");
        TypeChord({VK_CONTROL, 'H'});
        TypeChord({VK_CONTROL, VK_SHIFT, 'S'});
        PumpFor(800);
        check(IsWindowVisible(one) != FALSE, "Ctrl+Shift+S shows it again");

        check(program.Click(kOption4), "timed refresh is chosen");
        check(StoredSetting(L"Option3") == "False" && StoredSetting(L"Option4") == "True",
              "the refresh choice is stored as False/True texts");
        const std::wstring lateTitle = L"Velmora Key Late";
        targets.Create(lateTitle, WS_OVERLAPPEDWINDOW);
        bool appeared = false;
        for (int attempt = 0; attempt < 40 && !appeared; ++attempt) {
            PumpFor(100);
            appeared = Listed(program, lateTitle);
        }
        check(appeared, "timed refresh every 1 s lists a new window without a click");

        check(BringToFront(main), "the program's window is in front again");
        SetInterval(program, L"abc");
        ClickAt(Edit(program));
        PumpFor(300);
        ClickAt(program.Control(WC_LISTVIEWW, nullptr));
        const HWND box = program.WaitForDialog(L"Velmora");
        wchar_t text[128] = {};
        if (box != nullptr) GetWindowTextW(FindWindowExW(box, nullptr, L"Static", nullptr), text, 128);
        check(box != nullptr, "leaving an interval of abc shows a message box");
        if (box != nullptr) PostMessageW(box, WM_COMMAND, IDOK, 0);
        PumpFor(500);
        check(StoredSetting(L"Text1") == "abc", "the interval text is stored as typed");
        GUITHREADINFO focus{sizeof focus};
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &focus);
        check(focus.hwndFocus == Edit(program), "the focus goes back into the interval field");
        const std::wstring ignoredTitle = L"Velmora Key Unseen";
        targets.Create(ignoredTitle, WS_OVERLAPPEDWINDOW);
        PumpFor(2500);
        check(!Listed(program, ignoredTitle), "no timed refresh runs with an interval of abc");

        // The field's checks run when the focus moves between the window's controls, not when
        // the user switches to another program and back.
        check(BringToFront(one), "another window comes to the front");
        check(program.WaitForDialog(L"Velmora", 1500) == nullptr,
              "switching to another window with abc in the field shows no message");
        check(BringToFront(main), "the program's window comes back to the front");
        check(program.WaitForDialog(L"Velmora", 1500) == nullptr, "nor does switching back");
        SetInterval(program, L"1");
        // The field's check completes before the control that took the focus acts.
        const auto leaveWith = [&](const wchar_t* how, const std::function<void()>& leave) {
            program.Click(kOption4);
            // Not the second click of a double click, which would leave the focus where it is.
            PumpFor(GetDoubleClickTime());
            ClickAt(Edit(program));
            PumpFor(300);
            SetInterval(program, L"0.2");
            const bool typed = StoredSetting(L"Text1") == "0.2";
            leave();
            check(typed && WaitUntil([] { return StoredSetting(L"Text1") == "0.5"; }, 3000),
                  std::string("0.2, then ") + Utf8(how) + ": 0.5 is saved");
        };
        leaveWith(L"Tab", [] { TypeChord({VK_TAB}); });
        leaveWith(L"a click on manual refresh",
                  [&] { ClickAt(program.Control(L"Button", kOption3)); });
        check(WaitUntil([] { return StoredSetting(L"Option3") == "True"; }, 3000),
              "and manual refresh is chosen");
        leaveWith(L"manual refresh clicked by BM_CLICK", [&] { program.Click(kOption3); });
        program.Click(kOption4);
        SetInterval(program, L"1");

        check(program.Click(kOption2), "keep on top is chosen");
        check(IsTopmost(main), "the window is topmost");
        check(StoredSetting(L"Option1") == "False" && StoredSetting(L"Option2") == "True",
              "the priority choice is stored as False/True texts");
        DWORD exitCode = 1;
        check(program.CloseAndWait(15000, &exitCode), "the program closes");
    }
    {
        ProgramUnderTest program(exe);
        const HWND main = program.MainWindow();
        PumpFor(500);
        check(IsTopmost(main), "a restart keeps the window on top");
        const auto checked = [&](const wchar_t* caption) {
            return SendMessageW(program.Control(L"Button", caption), BM_GETCHECK, 0, 0) == BST_CHECKED;
        };
        check(checked(kOption2) && !checked(kOption1) && checked(kOption4) && !checked(kOption3),
              "a restart restores both option pairs");
        check(program.Click(kOption1), "regular window is chosen");
        PumpFor(500);
        check(!IsTopmost(main), "the window leaves the topmost band");
        check(BehindAll(main, {one, two}), "and drops behind the other windows");
        check(StoredSetting(L"Option1") == "True" && StoredSetting(L"Option2") == "False",
              "the regular choice is stored");
        program.Click(kOption3);
        DWORD exitCode = 1;
        check(program.CloseAndWait(15000, &exitCode), "the program closes again");
    }
    ForgetSettings();
}


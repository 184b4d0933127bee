// What must never go wrong: garbage in every stored setting still gives a working program with
// the errors reported, and Close reaches nothing but the ticked windows, whatever their titles
// and however they answer.

#include <windows.h>

#include <algorithm>
#include <string>

#include "Driver.h"

namespace {

constexpr const wchar_t* kKeys[] = {L"Option1", L"Option2", L"Option3", L"Option4", L"Text1"};

int CountStarting(const std::vector<std::string>& texts, const std::string& start) {
    return static_cast<int>(std::count_if(texts.begin(), texts.end(), [&](const std::string& t) {
        return t.rfind(start, 0) == 0;
    }));
}

// Starts the program with every key holding `value`; returns the texts of the boxes it showed.
std::vector<std::string> StartWith(Checks& check, const std::wstring& exe, const wchar_t* value,
                                   const std::string& name) {
    ForgetSettings();
    for (const wchar_t* key : kKeys) StoreSetting(key, value);
    std::vector<std::string> boxes;
    try {
        ProgramUnderTest program(exe, &boxes);
        DWORD exitCode = 1;
        check(program.CloseAndWait(15000, &exitCode) && exitCode == 0,
              "with every setting " + name + " the program starts and ends normally");
    } catch (const std::exception& error) {
        check(false, "with every setting " + name + ": " + error.what());
    }
    return boxes;
}

void GarbageSettings(Checks& check, const std::wstring& exe) {
    for (const auto& [value, name] : {std::pair{L"maybe", "a word"}, std::pair{L"", "empty"}}) {
        const auto boxes = StartWith(check, exe, value, name);
        check(CountStarting(boxes, "Type mismatch\r\nin Velmora2021/08/31.Form1.Form_Load at line ") == 4,
              std::string("each unreadable option is reported once (") + name + ")");
    }
    const auto huge = StartWith(check, exe, L"1e300", "a huge number");
    check(CountStarting(huge, "Must be a numeric value.") >= 1 && CountStarting(huge, "Type mismatch") == 0,
          "a huge interval is refused and the huge option values read as true");
    ForgetSettings();
}

void CloseReachesOnlyTheTicked(Checks& check, const std::wstring& exe) {
    ForgetSettings();
    Targets targets;
    const HWND older = targets.Create(L"Velmora Twin", WS_OVERLAPPEDWINDOW);
    const HWND newer = targets.Create(L"Velmora Twin", WS_OVERLAPPEDWINDOW);
    const HWND asking = targets.Create(L"Velmora Asking", WS_OVERLAPPEDWINDOW, true, true);
    const HWND sentinel = targets.Create(L"Velmora Sentinel", WS_OVERLAPPEDWINDOW);
    PumpFor(1500);
    ProgramUnderTest program(exe);
    // Rows follow the z-order of the last rebuild; which twin is higher is read at the same time.
    program.Click(L"Refresh List (Ctrl+Shift+L)");
    const bool olderOnTop = [&] {
        for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
            if (w == older || w == newer) return w == older;
        }
        return false;
    }();
    const auto rows = ReadRows(program);
    std::vector<int> twinRows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].title == "Velmora Twin") twinRows.push_back(static_cast<int>(i));
    }
    check(twinRows.size() == 2, "both twins are listed");
    if (twinRows.size() != 2) return;
    SetRowChecked(program, olderOnTop ? twinRows[0] : twinRows[1], true);
    SetRowChecked(program, RowIndex(rows, "Velmora Asking"), true);
    check(program.Click(L"Close Checked (Ctrl+Shift+C)"), "Close is clicked");
    WaitUntil([&] { return !IsWindow(older); }, 5000);
    check(!IsWindow(older) && IsWindow(newer), "of two windows with one title, the ticked one closes");
    check(IsWindow(asking), "a window that asks to save stays open");
    check(IsWindow(sentinel), "the unticked sentinel stays open");
    const auto received = targets.AltF4Received();
    check(std::all_of(received.begin(), received.end(),
                      [&](HWND w) { return w == older || w == asking; }) &&
              received.size() == 2,
          "Alt+F4 reached exactly the two ticked windows");
    DWORD exitCode = 1;
    program.CloseAndWait(15000, &exitCode);
}

}  // namespace

void RunFaults(Checks& check, const std::wstring& exe) {
    GarbageSettings(check, exe);
    CloseReachesOnlyTheTicked(check, exe);
}

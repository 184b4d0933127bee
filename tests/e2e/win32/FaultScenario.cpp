// What must never go wrong: garbage in every stored setting still gives a working program with
// the errors reported, a long stored interval text is neither cut nor saved cut, Close reaches
// nothing but the ticked windows, whatever their titles and however they answer, and a window
// that does not answer at all holds no command up.

#include <windows.h>

#include <algorithm>
#include <cstdio>
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

// An interval text longer than an edit control holds by default is shown and kept whole.
void LongIntervalText(Checks& check, const std::wstring& exe) {
    ForgetSettings();
    const std::wstring longText(40000, L'7');
    StoreSetting(L"Text1", longText.c_str());
    {
        ProgramUnderTest program(exe);
        const LRESULT shown =
            SendMessageW(program.Control(L"Edit", nullptr), WM_GETTEXTLENGTH, 0, 0);
        check(shown == 40000, "a 40,000-character interval text is shown whole (" +
                                  std::to_string(shown) + " characters)");
        check(StoredSetting(L"Text1") == Utf8(longText),
              "a 40,000-character interval text is stored back whole");
        DWORD exitCode = 1;
        program.CloseAndWait(15000, &exitCode);
    }
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
    std::vector<std::string> boxes;
    ProgramUnderTest program(exe, &boxes);
    const auto rows = ReadRows(program);
    std::vector<int> twinRows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].title == "Velmora Twin") twinRows.push_back(static_cast<int>(i));
    }
    check(twinRows.size() == 2, "both twins are listed");
    if (twinRows.size() != 2) return;
    // Either twin may be the one the program reaches by title; exactly one of them must go.
    SetRowChecked(program, twinRows[0], true);
    SetRowChecked(program, RowIndex(rows, "Velmora Asking"), true);
    check(program.Click(L"Close Checked (Ctrl+Shift+C)"), "Close is clicked");
    WaitUntil([&] { return !IsWindow(older) || !IsWindow(newer); }, 5000);
    const HWND closed = !IsWindow(older) ? older : !IsWindow(newer) ? newer : nullptr;
    check(closed != nullptr && (IsWindow(older) || IsWindow(newer)),
          "of two windows with one title and one ticked row, exactly one closes");
    check(IsWindow(asking), "a window that asks to save stays open");
    check(IsWindow(sentinel), "the unticked sentinel stays open");
    for (const std::string& box : boxes) std::printf("the program reported: %s\n", box.c_str());
    const auto received = targets.AltF4Received();
    for (const HWND w : received) {
        std::printf("Alt+F4 reached %s\n", w == older ? "the older twin" : w == newer ? "the newer twin"
                                           : w == asking ? "the asking window" : "another window");
    }
    check(received.size() == 2 &&
              std::all_of(received.begin(), received.end(),
                          [&](HWND w) { return w == closed || w == asking; }),
          "Alt+F4 reached exactly the two windows of the ticked rows");
    DWORD exitCode = 1;
    program.CloseAndWait(15000, &exitCode);
}

// Ticks the rows with these titles and nothing else; false when one of them is not listed.
bool TickOnly(const ProgramUnderTest& program, std::initializer_list<const wchar_t*> titles) {
    program.Click(L"Uncheck All");
    const auto rows = ReadRows(program);
    for (const wchar_t* title : titles) {
        const int index = RowIndex(rows, Utf8(title));
        if (index < 0) return false;
        SetRowChecked(program, index, true);
    }
    return true;
}

bool AllRows(const ProgramUnderTest& program, bool checked) {
    const auto rows = ReadRows(program);
    return !rows.empty() &&
           std::all_of(rows.begin(), rows.end(), [&](const Row& r) { return r.checked == checked; });
}

// Closes with the hung window ticked: the failed switch to it is reported, then the walk goes on
// and ends with the list rebuilt (every row unticked).
void CloseAmongHung(Checks& check, const ProgramUnderTest& program) {
    check(program.PostClick(L"Close Checked (Ctrl+Shift+C)"), "Close is clicked");
    const HWND report = program.WaitForDialog(L"Application Error");
    const std::string text = report == nullptr ? std::string() : DialogText(report);
    if (report != nullptr) std::printf("the program reported: %s\n", text.c_str());
    check(text.find("PushButton8_Click at line 106") != std::string::npos,
          "Close reports the switch to the hung window at line 106");
    if (report != nullptr) PostMessageW(report, WM_COMMAND, IDOK, 0);
    check(WaitUntil([&] { return AllRows(program, false); }, 10000),
          "Close goes on after the hung window and rebuilds the list");
}

// A window whose thread has stopped answering, ticked among others: every command returns, acts
// on the others, and leaves the program's own message loop running, which only a posted click
// shows (a hung program still answers sent messages while it waits).
void HungWindowHoldsNothingUp(Checks& check, const std::wstring& exe) {
    ForgetSettings();
    Targets targets;
    // Made in this order, the hung window lies between the others in the z-order and the walk.
    const HWND one = targets.Create(L"Velmora Lively One", WS_OVERLAPPEDWINDOW);
    const HWND hung = targets.CreateHung(L"Velmora Hung");
    const HWND two = targets.Create(L"Velmora Lively Two", WS_OVERLAPPEDWINDOW);
    const HWND others[] = {one, two};
    const HWND sentinel = targets.Create(L"Velmora Unticked", WS_OVERLAPPEDWINDOW);
    PumpFor(1500);
    ProgramUnderTest program(exe);
    struct Step {
        const wchar_t* button;
        std::string name;
        bool (*done)(HWND);
    };
    const Step steps[] = {
        {L"Hide Checked (Ctrl+Shift+H)", "Hide", [](HWND w) { return !IsWindowVisible(w); }},
        {L"Show Checked (Ctrl+Shift+S)", "Show", [](HWND w) { return IsWindowVisible(w) != FALSE; }},
        {L"Minimize Checked (Ctrl+Shift+M)", "Minimize", [](HWND w) { return IsIconic(w) != FALSE; }},
        {L"Maximize Checked (Ctrl+Shift+X)", "Maximize", [](HWND w) { return IsZoomed(w) != FALSE; }},
        {L"Restore Checked (Ctrl+Shift+R)", "Restore",
         [](HWND w) { return !IsZoomed(w) && !IsIconic(w); }},
        {L"Close Checked (Ctrl+Shift+C)", "Close", [](HWND w) { return !IsWindow(w); }},
    };
    for (const Step& step : steps) {
        if (!check(TickOnly(program, {L"Velmora Lively One", L"Velmora Hung", L"Velmora Lively Two"}),
                   step.name + ": the hung window and two others are listed and ticked")) {
            break;
        }
        if (step.name == "Close") {
            // In front, the hung window is the thread the switch to the others would attach to.
            BringToFront(hung);
            CloseAmongHung(check, program);
        } else {
            check(program.Click(step.button), step.name + " with a hung window ticked returns");
        }
        check(!AllRows(program, true) && program.PostClick(L"Check All") &&
                  WaitUntil([&] { return AllRows(program, true); }, 1000),
              step.name + ": a posted click on Check All afterwards takes effect within a second");
        check(WaitUntil([&] { return std::all_of(std::begin(others), std::end(others), step.done); },
                        5000),
              step.name + ": the other ticked windows are acted on");
    }
    check(IsWindow(sentinel) && IsWindowVisible(sentinel), "the unticked window is left alone");
    DWORD exitCode = 1;
    check(program.CloseAndWait(15000, &exitCode) && exitCode == 0,
          "with a hung window about, closing the main window ends the program");
}

}  // namespace

void RunFaults(Checks& check, const std::wstring& exe) {
    GarbageSettings(check, exe);
    LongIntervalText(check, exe);
    CloseReachesOnlyTheTicked(check, exe);
    HungWindowHoldsNothingUp(check, exe);
}

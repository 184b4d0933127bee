// The selection and window commands on real windows: each command's effect is read back from
// the window system, and Close reaches exactly the ticked windows.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "Driver.h"

namespace {

const std::wstring kPrefix = L"Velmora Cmd ";
const wchar_t* const kNonAscii = L"\u00C4rger";
// A title with a surrogate that has no partner: its row shows U+FFFD, and Close finds the
// window by that text all the same.
const wchar_t kLoneSurrogate[] = {L'F', L'i', L'v', L'e', L' ', 0xD83D, 0};

struct Target {
    std::wstring title;
    HWND window;
};

class CommandsRun {
public:
    CommandsRun(Checks& check, const std::wstring& exe) : check_(check), program_(Start(exe)) {}

    void Run() {
        SelectAllAndNone();
        HideAndShow();
        MaximizeRestoreMinimize();
        Filters();
        CloseThree();
        CloseRenamed();
        DWORD exitCode = 1;
        check_(program_.CloseAndWait(15000, &exitCode), "commands: the program ends on WM_CLOSE");
    }

private:
    ProgramUnderTest Start(const std::wstring& exe) {
        for (const wchar_t* name :
             {L"One", L"Two", L"Three", L"Four", kLoneSurrogate, L"Sentinel", kNonAscii}) {
            targets_.push_back({kPrefix + name, targets_host_.Create(kPrefix + name, WS_OVERLAPPEDWINDOW)});
        }
        PumpFor(2000);  // Wine restacks new windows asynchronously
        return ProgramUnderTest(exe);
    }

    const Target& T(const wchar_t* name) const {
        for (const Target& target : targets_) {
            if (target.title == kPrefix + name) return target;
        }
        throw std::runtime_error("no such target");
    }

    // The program asks another thread's window to change its show state without waiting for
    // it, so the change shows once the targets' thread has carried it out.
    static bool Becomes(const std::function<bool()>& condition) { return WaitUntil(condition, 3000); }

    int RowOf(const wchar_t* name) { return RowIndex(ReadRows(program_), Utf8(T(name).title)); }

    void Tick(std::initializer_list<const wchar_t*> names) {
        program_.Click(L"Uncheck All");
        for (const wchar_t* name : names) SetRowChecked(program_, RowOf(name), true);
    }

    // Titles of our ticked rows, sorted.
    std::vector<std::string> TickedOfOurs() {
        std::vector<std::string> ticked;
        for (const Row& row : ReadRows(program_)) {
            if (row.checked && row.title.rfind(Utf8(kPrefix), 0) == 0) ticked.push_back(row.title);
        }
        std::sort(ticked.begin(), ticked.end());
        return ticked;
    }

    std::vector<std::string> Sorted(std::initializer_list<const wchar_t*> names) const {
        std::vector<std::string> titles;
        for (const wchar_t* name : names) titles.push_back(Utf8(T(name).title));
        std::sort(titles.begin(), titles.end());
        return titles;
    }

    std::string Status(const wchar_t* name) {
        const auto rows = ReadRows(program_);
        const int index = RowIndex(rows, Utf8(T(name).title));
        return index < 0 ? "(no row)" : rows[static_cast<std::size_t>(index)].status;
    }

    void SelectAllAndNone() {
        program_.Click(L"Check All");
        const auto rows = ReadRows(program_);
        check_(!rows.empty() && std::all_of(rows.begin(), rows.end(), [](const Row& r) { return r.checked; }),
               "Check All ticks every row");
        program_.Click(L"Uncheck All");
        const auto cleared = ReadRows(program_);
        check_(std::none_of(cleared.begin(), cleared.end(), [](const Row& r) { return r.checked; }),
               "Uncheck All clears every row");
    }

    void HideAndShow() {
        Tick({L"One", L"Two"});
        program_.Click(L"Hide Checked (Ctrl+Shift+H)");
        check_(Becomes([&] {
                   return !IsWindowVisible(T(L"One").window) && !IsWindowVisible(T(L"Two").window);
               }),
               "Hide hides the ticked windows");
        check_(IsWindowVisible(T(L"Three").window), "Hide leaves unticked windows visible");
        check_(Status(L"One") == "Hidden" && Status(L"Three") == "Visible", "Hide writes Hidden");
        program_.Click(L"Show Checked (Ctrl+Shift+S)");
        check_(Becomes([&] {
                   return IsWindowVisible(T(L"One").window) && IsWindowVisible(T(L"Two").window);
               }),
               "Show brings them back");
        check_(Status(L"One") == "Visible", "Show writes Visible");
    }

    void MaximizeRestoreMinimize() {
        Tick({L"One"});
        program_.Click(L"Maximize Checked (Ctrl+Shift+X)");
        check_(Becomes([&] { return IsZoomed(T(L"One").window) != FALSE; }),
               "Maximize maximizes the ticked window");
        check_(!IsZoomed(T(L"Two").window), "Maximize leaves the others");
        program_.Click(L"Restore Checked (Ctrl+Shift+R)");
        check_(Becomes([&] { return !IsZoomed(T(L"One").window) && !IsIconic(T(L"One").window); }),
               "Restore restores it");
        Tick({L"Two"});
        program_.Click(L"Minimize Checked (Ctrl+Shift+M)");
        check_(Becomes([&] { return IsIconic(T(L"Two").window) != FALSE; }),
               "Minimize minimizes the ticked window");
        const auto rows = ReadRows(program_);
        check_(RowIndex(rows, Utf8(T(L"Two").title)) >= 0 &&
                   std::none_of(rows.begin(), rows.end(), [](const Row& r) { return r.checked; }),
               "Minimize rebuilds the list; the minimized window stays listed, nothing ticked");
        Tick({L"Two"});
        program_.Click(L"Restore Checked (Ctrl+Shift+R)");
        check_(Becomes([&] { return !IsIconic(T(L"Two").window); }),
               "Restore brings a minimized window back");
    }

    // Answers the program's input box through its real controls.
    bool AnswerInputBox(const wchar_t* button, const wchar_t* answer) {
        program_.Click(L"Uncheck All");
        if (!program_.PostClick(button)) return false;
        const HWND box = program_.WaitForDialog(L"Velmora");
        if (box == nullptr) return false;
        SendMessageW(FindWindowExW(box, nullptr, L"Edit", nullptr), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(answer));
        DWORD_PTR result = 0;
        SendMessageTimeoutW(FindWindowExW(box, nullptr, L"Button", L"OK"), BM_CLICK, 0, 0,
                            SMTO_ABORTIFHUNG, 10000, &result);
        PumpFor(300);
        return true;
    }

    void Filters() {
        check_(AnswerInputBox(L"Check Entries Containing X", L"CMD T"), "the input box answers");
        check_(TickedOfOurs() == Sorted({L"Two", L"Three"}),
               "Containing X ticks the titles with X in any case: " + Join(TickedOfOurs()));
        check_(AnswerInputBox(L"Check Entries Not Containing X", L"W"), "the input box answers again");
        check_(TickedOfOurs() ==
                   Sorted({L"One", L"Three", L"Four", kLoneSurrogate, L"Sentinel", kNonAscii}),
               "Not Containing X ticks the titles without X: " + Join(TickedOfOurs()));
        // Beyond ASCII: the text goes through the program's UTF-8 and back, and the locale's
        // comparison matches "Ä" with "ä".
        check_(AnswerInputBox(L"Check Entries Containing X", L"cmd \u00E4RGER"),
               "the input box answers");
        check_(TickedOfOurs() == Sorted({kNonAscii}),
               "Containing X ticks a title with non-ASCII X in any case: " + Join(TickedOfOurs()));
        program_.Click(L"Uncheck All");
    }

    void CloseThree() {
        Tick({L"Three", L"Four", kLoneSurrogate});
        const double cpuBefore = program_.CpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        check_(program_.Click(L"Close Checked (Ctrl+Shift+C)"), "Close is clicked");
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double cpu = program_.CpuSeconds() - cpuBefore;
        std::printf("close of 3 windows: %.2f s wall, %.3f s CPU in the program\n", wall, cpu);
        // The windows handle their Alt+F4 on a thread of their own, which a busy machine may delay.
        check_(WaitUntil([&] { return !IsWindow(T(L"Three").window) && !IsWindow(T(L"Four").window) &&
                                      !IsWindow(T(kLoneSurrogate).window); }, 5000),
               "Close closes the three ticked windows, one with a lone surrogate in its title");
        check_(IsWindow(T(L"One").window) && IsWindow(T(L"Two").window) && IsWindow(T(L"Sentinel").window),
               "Close leaves every other window");
        check_(wall >= 1.5, "Close waits half a second per window");
        // A window that took longer than its half second to close keeps its row until the next
        // rebuild, so the list is rebuilt once more before its rows are looked at.
        program_.Click(L"Refresh List (Ctrl+Shift+L)");
        check_(RowOf(L"Three") < 0 && RowOf(L"Four") < 0 && RowOf(kLoneSurrogate) < 0, "their rows are gone");
    }

    void CloseRenamed() {
        Tick({L"One"});
        targets_host_.Rename(T(L"One").window, T(L"One").title + L" (renamed)");
        program_.PostClick(L"Close Checked (Ctrl+Shift+C)");
        const HWND report = program_.WaitForDialog(L"Application Error");
        check_(report != nullptr, "Close of a renamed window reports the failed switch");
        if (report != nullptr) PostMessageW(report, WM_COMMAND, IDOK, 0);
        for (int attempt = 0; attempt < 50 && RowOf(L"One") >= 0; ++attempt) PumpFor(100);
        PumpFor(500);
        check_(IsWindow(T(L"One").window) && IsWindow(T(L"Two").window) && IsWindow(T(L"Sentinel").window),
               "nothing is closed when the ticked window's title changed");
    }

    Checks& check_;
    Targets targets_host_;
    std::vector<Target> targets_;
    ProgramUnderTest program_;
};

}  // namespace

void RunCommands(Checks& check, const std::wstring& exe) {
    CommandsRun run(check, exe);
    run.Run();
}

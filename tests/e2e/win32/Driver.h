#pragma once
// What the end-to-end scenarios share: target windows of our own, the program under test
// started and found, and the checks with their tally.

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

// Counts checks and prints each outcome, then one closing line.
class Checks {
public:
    bool operator()(bool passed, const std::string& what);
    int Failed() const { return failed_; }
    void Summary(const std::string& suite) const;

private:
    int passed_ = 0;
    int failed_ = 0;
};

std::string Utf8(const std::wstring& text);

// Dispatches this thread's messages for the given time, so our windows stay responsive and the
// window manager settles.
void PumpFor(DWORD milliseconds);

// Top-level windows of the driver's own, made and served by a thread of their own, so that they
// keep handling input (Alt+F4 among it) while the driver waits for the program.
class Targets {
public:
    Targets();
    ~Targets();
    Targets(const Targets&) = delete;
    Targets& operator=(const Targets&) = delete;

    // `visible` false leaves the window hidden. An asking window answers Alt+F4 with a window
    // of its own that asks to save, and stays open.
    HWND Create(const std::wstring& title, DWORD style, bool visible = true, bool asking = false);
    // A visible window whose thread stops handling messages once the window is up, as a hung
    // program's does; it wakes up and ends when the Targets end.
    HWND CreateHung(const std::wstring& title);
    void Rename(HWND window, const std::wstring& title);
    // The windows that have received Alt+F4, in order.
    std::vector<HWND> AltF4Received();

private:
    static const wchar_t* TargetClass();
    static LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Run(const std::function<void()>& work);  // on the targets' thread, waiting for it

    std::thread thread_;
    DWORD threadId_ = 0;
    HANDLE release_ = nullptr;          // set when the Targets end: wakes the hung threads
    std::vector<std::thread> hung_;
    std::vector<HWND> asking_;     // touched on the targets' thread only
    std::vector<HWND> altF4_;      // written there, read through Run
};

// The program under test, started from its exe and found by its window.
class ProgramUnderTest {
public:
    // With `startupBoxes`, message boxes shown before the main window are answered with OK
    // and their texts kept there.
    explicit ProgramUnderTest(const std::wstring& exe, std::vector<std::string>* startupBoxes = nullptr);
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    HWND MainWindow() const { return main_; }
    HANDLE Process() const { return process_.hProcess; }
    // A control of the main window by class and exact caption (null caption: any).
    HWND Control(const wchar_t* windowClass, const wchar_t* caption) const;
    // Clicks a push button and waits until the program has handled the click.
    bool Click(const wchar_t* caption) const;
    // Clicks a push button, then waits until the program has handled the click and repainted its
    // list; the milliseconds that took, or a negative number when the click failed.
    double ClickUntilPainted(const wchar_t* caption) const;
    // Clicks a push button without waiting, for clicks that open a modal box.
    bool PostClick(const wchar_t* caption) const;
    // A dialog box of the program with the given title, once it is up; null when none comes.
    HWND WaitForDialog(const wchar_t* title, DWORD milliseconds = 10000) const;
    // Processor time the program has used so far, in seconds.
    double CpuSeconds() const;
    // Asks the main window to close and waits for the process to end; false on a time-out.
    bool CloseAndWait(DWORD milliseconds, DWORD* exitCode);
    // Tells the main window that the session ends, as a log-off does: first the question,
    // then the end. Whether the program agreed to it.
    bool EndSession();
    // Waits for the process to end; false on a time-out.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode);

private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

struct Row {
    std::string title;
    std::string status;
    bool checked;
};

// A visible dialog box of the given process, if one is up.
HWND DialogOf(DWORD processId);
// The text of a message box.
std::string DialogText(HWND box);

std::vector<Row> ReadRows(const ProgramUnderTest& program);
// Ticks or clears one row (0-based) of the program's list.
void SetRowChecked(const ProgramUnderTest& program, int index, bool checked);
int RowIndex(const std::vector<Row>& rows, const std::string& title);  // -1 when absent
std::vector<std::string> Titles(const std::vector<Row>& rows);
std::string Join(const std::vector<std::string>& titles);  // "[a | b]", for messages

// Pumps messages until `condition` holds, for at most `milliseconds`; whether it came to hold.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds);

// The colour on the screen at a point, as painted.
COLORREF ScreenColour(POINT point);
// Makes a window the foreground window, as far as the window system lets us.
bool BringToFront(HWND window);
// Types keys into the foreground window: virtual keys pressed in order, released in reverse.
void TypeChord(std::initializer_list<WORD> keys);
// A left click at the centre of a window, through the real mouse input.
void ClickAt(HWND window);
// Moves the pointer, through the real mouse input, to the centre of a window and leaves it there.
void HoverOver(HWND window);
// The program's stored settings text for `key`; "(missing)" when there is none.
std::string StoredSetting(const wchar_t* key);
void ForgetSettings();
void StoreSetting(const wchar_t* key, const wchar_t* value);
// Runs a program of the host system (Wine's start /unix) and waits for it.
void RunUnix(const std::wstring& commandLine);

void RunListing(Checks& check, const std::wstring& exe);
void RunCommands(Checks& check, const std::wstring& exe);
void RunRefreshAndPriority(Checks& check, const std::wstring& exe);
void RunTray(Checks& check, const std::wstring& exe);
void RunSkin(Checks& check, const std::wstring& exe);
void RunFaults(Checks& check, const std::wstring& exe);
void RunAccessibility(Checks& check, const std::wstring& exe);
// Checks the installed program (the `version` given) and runs `setup` while it runs.
void RunInstalled(Checks& check, const std::wstring& version, const std::wstring& setup);
// Prints what the program costs: start-up, memory, a Close wait against a busy spin, idling.
void Measure(const std::wstring& exe);

#pragma once
// What the end-to-end scenarios share: target windows of our own, the program under test
// started and found, and the checks with their tally.

#include <windows.h>

#include <string>
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

// A top-level window of the driver's own. `visible` false leaves it hidden.
HWND CreateTarget(const std::wstring& title, DWORD style, bool visible = true);

// The program under test, started from its exe and found by its window.
class ProgramUnderTest {
public:
    explicit ProgramUnderTest(const std::wstring& exe);
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    HWND MainWindow() const { return main_; }
    HANDLE Process() const { return process_.hProcess; }
    // A control of the main window by class and exact caption (null caption: any).
    HWND Control(const wchar_t* windowClass, const wchar_t* caption) const;
    // Clicks a push button and waits until the program has handled the click.
    bool Click(const wchar_t* caption) const;
    // Asks the main window to close and waits for the process to end; false on a time-out.
    bool CloseAndWait(DWORD milliseconds, DWORD* exitCode);

private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

struct Row {
    std::string title;
    std::string status;
    bool checked;
};

std::vector<Row> ReadRows(const ProgramUnderTest& program);

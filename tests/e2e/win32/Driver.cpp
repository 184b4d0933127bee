#include "Driver.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "Remote.h"

bool Checks::operator()(bool passed, const std::string& what) {
    std::printf("%s %s\n", passed ? "PASS" : "FAIL", what.c_str());
    std::fflush(stdout);
    (passed ? passed_ : failed_) += 1;
    return passed;
}

void Checks::Summary(const std::string& suite) const {
    std::printf("%s: %d passed, %d failed\n", suite.c_str(), passed_, failed_);
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length,
                        nullptr, nullptr);
    return out;
}

void PumpFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

namespace {

constexpr UINT kRunWork = WM_APP + 1;

}  // namespace

const wchar_t* Targets::TargetClass() {
    static const wchar_t* const name = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = Targets::TargetProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = L"VelmoraE2ETarget";
        RegisterClassExW(&windowClass);
        return L"VelmoraE2ETarget";
    }();
    return name;
}

Targets::Targets() : release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, ready] {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // makes the thread's queue
        threadId_ = GetCurrentThreadId();
        SetEvent(ready);
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (message.hwnd == nullptr && message.message == kRunWork) {
                (*reinterpret_cast<const std::function<void()>*>(message.lParam))();
                SetEvent(reinterpret_cast<HANDLE>(message.wParam));
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    });
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
}

Targets::~Targets() {
    SetEvent(release_);
    for (std::thread& thread : hung_) thread.join();
    CloseHandle(release_);
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
}

void Targets::Run(const std::function<void()>& work) {
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    PostThreadMessageW(threadId_, kRunWork, reinterpret_cast<WPARAM>(done),
                       reinterpret_cast<LPARAM>(&work));
    WaitForSingleObject(done, INFINITE);
    CloseHandle(done);
}

HWND Targets::Create(const std::wstring& title, DWORD style, bool visible, bool asking) {
    HWND window = nullptr;
    Run([&] {
        window = CreateWindowExW(0, TargetClass(), title.c_str(), style, 40, 40, 320, 200, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        if (asking) asking_.push_back(window);
        if (visible) ShowWindow(window, SW_SHOWNORMAL);
    });
    return window;
}

HWND Targets::CreateHung(const std::wstring& title) {
    HWND window = nullptr;
    HANDLE up = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    hung_.emplace_back([this, &window, title, up] {
        window = CreateWindowExW(0, TargetClass(), title.c_str(), WS_OVERLAPPEDWINDOW, 60, 60, 320,
                                 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ShowWindow(window, SW_SHOWNORMAL);
        PumpFor(300);  // lets the window come up on the display
        SetEvent(up);
        WaitForSingleObject(release_, INFINITE);
        DestroyWindow(window);
    });
    WaitForSingleObject(up, INFINITE);
    CloseHandle(up);
    return window;
}

std::vector<HWND> Targets::AltF4Received() {
    std::vector<HWND> received;
    Run([&] { received = altF4_; });
    return received;
}

LRESULT CALLBACK Targets::TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Targets*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_SYSKEYDOWN && wParam == VK_F4) self->altF4_.push_back(window);
    if (self != nullptr && message == WM_CLOSE &&
        std::find(self->asking_.begin(), self->asking_.end(), window) != self->asking_.end()) {
        const HWND question = CreateWindowExW(0, TargetClass(), L"Save changes?", WS_OVERLAPPEDWINDOW,
                                              80, 80, 240, 120, nullptr, nullptr,
                                              GetModuleHandleW(nullptr), nullptr);
        ShowWindow(question, SW_SHOWNORMAL);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Targets::Rename(HWND window, const std::wstring& title) {
    Run([&] { SetWindowTextW(window, title.c_str()); });
}

// Stops the walk at a visible dialog box of the process, both in the pair `data` points to.
static BOOL CALLBACK TakeDialog(HWND window, LPARAM data) {
    auto& [processId, box] = *reinterpret_cast<std::pair<DWORD, HWND>*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t windowClass[8] = {};
    if (owner != processId || !IsWindowVisible(window) || !GetClassNameW(window, windowClass, 8) ||
        std::wstring(windowClass) != L"#32770") {
        return TRUE;
    }
    box = window;
    return FALSE;
}

// From one snapshot of the top-level windows: a FindWindowEx walk that goes on from a box
// being destroyed meanwhile sends Wine 10's server into an endless loop.
HWND DialogOf(DWORD processId) {
    std::pair<DWORD, HWND> search{processId, nullptr};
    EnumWindows(TakeDialog, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

ProgramUnderTest::ProgramUnderTest(const std::wstring& exe, std::vector<std::string>* startupBoxes) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_)) {
        throw std::runtime_error("cannot start " + Utf8(exe));
    }
    WaitForInputIdle(process_.hProcess, 20000);
    for (int attempt = 0; attempt < 300 && main_ == nullptr; ++attempt) {
        if (startupBoxes != nullptr) {
            if (const HWND box = DialogOf(process_.dwProcessId)) {
                startupBoxes->push_back(DialogText(box));
                SendMessageTimeoutW(box, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
                continue;
            }
        }
        const HWND found = FindWindowW(L"VelmoraSuiteMain", L"Velmora Suite");
        DWORD owner = 0;
        if (found != nullptr && IsWindowVisible(found)) {
            GetWindowThreadProcessId(found, &owner);
            if (owner == process_.dwProcessId) main_ = found;
        }
        if (main_ == nullptr) PumpFor(100);
    }
    if (main_ == nullptr) throw std::runtime_error("the main window did not appear");
}

ProgramUnderTest::~ProgramUnderTest() {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND ProgramUnderTest::Control(const wchar_t* windowClass, const wchar_t* caption) const {
    return FindWindowExW(main_, nullptr, windowClass, caption);
}

bool ProgramUnderTest::Click(const wchar_t* caption) const {
    const HWND button = Control(L"Button", caption);
    DWORD_PTR result = 0;
    // The click itself may wait in the program's queue behind the interval field's loss of
    // focus: a posted probe is taken after it. The probe is the list's hover time, which
    // nothing here uses and which, unlike the selection, outlives a rebuild of the rows.
    const HWND list = Control(L"SysListView32", nullptr);
    const LPARAM mark = SendMessageW(list, LVM_GETHOVERTIME, 0, 0) == 400 ? 401 : 400;
    if (button == nullptr ||
        SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 20000, &result) == 0) {
        return false;
    }
    PostMessageW(list, LVM_SETHOVERTIME, 0, mark);
    const auto start = std::chrono::steady_clock::now();
    while (SendMessageW(list, LVM_GETHOVERTIME, 0, 0) != mark) {
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(30)) return false;
        Sleep(1);
    }
    return true;
}

double ProgramUnderTest::ClickUntilPainted(const wchar_t* caption) const {
    const auto start = std::chrono::steady_clock::now();
    if (!Click(caption)) return -1;
    // The probe Click waits for is taken after every message the program posted itself while
    // it handled the click; all that is left is the repaint, which ends when the list has no
    // region left to update.
    const HWND list = Control(L"SysListView32", nullptr);
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto elapsed = [&] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    while (GetUpdateRect(list, nullptr, FALSE) || GetUpdateRect(header, nullptr, FALSE)) {
        if (elapsed() > 30000) return -1;
        Sleep(1);
    }
    return elapsed();
}

bool ProgramUnderTest::PostClick(const wchar_t* caption) const {
    const HWND button = Control(L"Button", caption);
    return button != nullptr && PostMessageW(button, BM_CLICK, 0, 0) != 0;
}

HWND ProgramUnderTest::WaitForDialog(const wchar_t* title, DWORD milliseconds) const {
    for (DWORD attempt = 0; attempt < milliseconds / 100; ++attempt) {
        const HWND dialog = FindWindowW(L"#32770", title);
        DWORD owner = 0;
        if (dialog != nullptr) GetWindowThreadProcessId(dialog, &owner);
        if (owner == process_.dwProcessId && IsWindowVisible(dialog)) return dialog;
        PumpFor(100);
    }
    return nullptr;
}

double ProgramUnderTest::CpuSeconds() const {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process_.hProcess, &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& time) {
        return ((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

bool ProgramUnderTest::CloseAndWait(DWORD milliseconds, DWORD* exitCode) {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    return WaitForExit(milliseconds, exitCode);
}

bool ProgramUnderTest::EndSession() {
    DWORD_PTR agreed = FALSE;
    SendMessageTimeoutW(main_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                        &agreed);
    // The program ends while it handles the message, so no answer comes back.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(main_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                        &ignored);
    return agreed == TRUE;
}

bool ProgramUnderTest::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
    if (WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process_.hProcess, exitCode);
    return true;
}

std::string DialogText(HWND box) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);  // a message box's text is its static 0xFFFF
    return Utf8(text);
}

std::vector<Row> ReadRows(const ProgramUnderTest& program) {
    const RemoteList list(program.Process(), program.Control(WC_LISTVIEWW, nullptr));
    std::vector<Row> rows;
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        rows.push_back({Utf8(list.Text(i, 0)), Utf8(list.Text(i, 1)), list.Checked(i)});
    }
    return rows;
}

void SetRowChecked(const ProgramUnderTest& program, int index, bool checked) {
    RemoteList(program.Process(), program.Control(WC_LISTVIEWW, nullptr)).SetChecked(index, checked);
}

int RowIndex(const std::vector<Row>& rows, const std::string& title) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].title == title) return static_cast<int>(i);
    }
    return -1;
}

std::vector<std::string> Titles(const std::vector<Row>& rows) {
    std::vector<std::string> titles;
    for (const Row& row : rows) titles.push_back(row.title);
    return titles;
}

std::string Join(const std::vector<std::string>& titles) {
    std::string text;
    for (const auto& title : titles) text += (text.empty() ? "" : " | ") + title;
    return "[" + text + "]";
}

bool BringToFront(HWND window) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        SetForegroundWindow(window);
        PumpFor(100);
        if (GetForegroundWindow() == window) return true;
    }
    return false;
}

void TypeChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (const WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

COLORREF ScreenColour(POINT point) {
    const HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

namespace {

// A mouse event that moves the pointer to the centre of a window.
INPUT MoveToCentre(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv((rect.left + rect.right) / 2, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv((rect.top + rect.bottom) / 2, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return input;
}

}  // namespace

void ClickAt(HWND window) {
    INPUT inputs[3] = {MoveToCentre(window), MoveToCentre(window), MoveToCentre(window)};
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

void HoverOver(HWND window) {
    INPUT input = MoveToCentre(window);
    SendInput(1, &input, sizeof(INPUT));
}

namespace {
constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Quillfern\\Velmora Suite";
}  // namespace

std::string StoredSetting(const wchar_t* key) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, key, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return "(missing)";
    }
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, key, RRF_RT_REG_SZ, nullptr, value.data(),
                     &bytes) != ERROR_SUCCESS) {
        return "(missing)";
    }
    value.resize(wcsnlen(value.c_str(), value.size()));
    return Utf8(value);
}

void ForgetSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }

void StoreSetting(const wchar_t* key, const wchar_t* value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, key, REG_SZ, value,
                    static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

void RunUnix(const std::wstring& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = L"start.exe /wait /unix " + commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
        throw std::runtime_error("cannot run " + Utf8(commandLine));
    }
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    for (DWORD waited = 0; !condition(); waited += 100) {
        if (waited >= milliseconds) return false;
        PumpFor(100);
    }
    return true;
}

// The tray icon on a real notification area (trayer on the X display): it is there from the
// start, minimizing hides the window into it with one balloon, a click on it brings the window
// back, and closing the program takes it away. The X side is reached through tray-icon.

#include <windows.h>

#include <fstream>
#include <string>
#include <stdexcept>

#include "Driver.h"

namespace {

class TrayHost {
public:
    TrayHost() {
        wchar_t script[1024] = {};
        if (GetEnvironmentVariableW(L"VELMORA_E2E_TRAY", script, 1024) == 0) {
            throw std::runtime_error("VELMORA_E2E_TRAY does not name the tray-icon script");
        }
        script_ = script;
    }

    // start /unix does not wait for the host program, so the answer is awaited as a file.
    int Count(const wchar_t* what) const {
        const std::wstring file = L"/tmp/velmora-e2e-tray-" + std::to_wstring(GetCurrentProcessId());
        const std::wstring windowsFile = L"Z:" + file;
        DeleteFileW(windowsFile.c_str());
        RunUnix(script_ + L" " + what + L" " + file);
        int count = -1;
        for (int attempt = 0; attempt < 50 && count < 0; ++attempt) {
            PumpFor(100);
            std::ifstream in(Utf8(windowsFile));
            in >> count;
        }
        DeleteFileW(windowsFile.c_str());
        return count;
    }
    int Icons() const { return Count(L"count"); }
    int Balloons() const { return Count(L"balloons"); }
    // Wine shows a balloon a second or two after it was asked for.
    bool BalloonAppears() const {
        for (int attempt = 0; attempt < 8; ++attempt) {
            if (Balloons() > 0) return true;
            PumpFor(400);
        }
        return false;
    }
    void Click() const { RunUnix(script_ + L" click"); }

private:
    std::wstring script_;
};

void Minimize(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0); }

}  // namespace

void RunTray(Checks& check, const std::wstring& exe) {
    ForgetSettings();
    const TrayHost tray;
    ProgramUnderTest program(exe);
    const HWND main = program.MainWindow();
    PumpFor(1000);
    const int icons = tray.Icons();
    check(icons == 1, "the tray icon is in the notification area from the start (" +
                          std::to_string(icons) + ")");

    Minimize(main);
    PumpFor(1500);
    check(!IsWindowVisible(main), "minimizing hides the window into the tray");
    check(tray.BalloonAppears(), "the first minimize shows the balloon");
    PumpFor(4000);
    check(tray.Balloons() == 0, "the balloon goes after its five seconds");
    tray.Click();
    PumpFor(1500);
    check(IsWindowVisible(main) && !IsIconic(main), "a click on the icon brings the window back");
    check(GetForegroundWindow() == main, "the window comes back with the focus");

    Minimize(main);
    PumpFor(3000);
    check(!IsWindowVisible(main), "a second minimize hides it again");
    check(tray.Balloons() == 0, "without a second balloon");
    tray.Click();
    PumpFor(1500);
    check(IsWindowVisible(main) != FALSE, "and the icon brings it back again");

    DWORD exitCode = 1;
    check(program.CloseAndWait(15000, &exitCode), "the program closes");
    PumpFor(1000);
    check(tray.Icons() == 0, "closing the program takes the icon away");

    // The session ends while the window is hidden in the tray.
    ProgramUnderTest again(exe);
    PumpFor(1000);
    Minimize(again.MainWindow());
    PumpFor(1500);
    check(tray.Icons() == 1 && !IsWindowVisible(again.MainWindow()),
          "the program waits in the tray as the session ends");
    check(again.EndSession(), "the program agrees to the session's end");
    exitCode = 1;
    check(again.WaitForExit(15000, &exitCode) && exitCode == 0,
          "the end of the session ends the program with exit code 0");
    PumpFor(1000);
    check(tray.Icons() == 0, "and takes its icon away");
}

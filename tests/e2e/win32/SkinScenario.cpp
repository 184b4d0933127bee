// The skin file next to the exe: with it the window paints in the skin's face colour, without
// it in its designed white. Colours are read off the screen.

#include <windows.h>

#include <stdexcept>
#include <string>

#include "Driver.h"

namespace {

constexpr COLORREF kSampleFace = RGB(0xD4, 0xDE, 0xEA);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);

// Colours of the form's own background and of an option button's.
struct Colours {
    COLORREF form;
    COLORREF option;
};

Colours ColoursOf(const std::wstring& exe) {
    ProgramUnderTest program(exe);
    PumpFor(1000);
    POINT margin{3, 3};
    ClientToScreen(program.MainWindow(), &margin);
    RECT option{};
    GetWindowRect(program.Control(L"Button", L"Keep this software on top of other windows"), &option);
    const Colours colours{ScreenColour(margin), ScreenColour({option.right - 3, (option.top + option.bottom) / 2})};
    DWORD exitCode = 1;
    program.CloseAndWait(15000, &exitCode);
    return colours;
}

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

}  // namespace

void RunSkin(Checks& check, const std::wstring& exe) {
    wchar_t sample[1024] = {};
    if (GetEnvironmentVariableW(L"VELMORA_E2E_SKIN", sample, 1024) == 0) {
        throw std::runtime_error("VELMORA_E2E_SKIN does not name the sample skin");
    }
    ForgetSettings();
    const std::wstring skinFolder = Folder(exe) + L"\\x";
    const std::wstring skinFile = skinFolder + L"\\o.cjs";
    CreateDirectoryW(skinFolder.c_str(), nullptr);
    check(CopyFileW((L"Z:" + std::wstring(sample)).c_str(), skinFile.c_str(), FALSE) != FALSE,
          "the sample skin is put next to the exe");
    const Colours skinned = ColoursOf(exe);
    // The same skin padded past a megabyte with comment lines is no skin: it is not read whole,
    // and the window keeps the plain button face.
    {
        const HANDLE file = CreateFileW(skinFile.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        const std::string comment = "; " + std::string(1021, '-') + "\n";
        DWORD written = 0;
        for (int line = 0; line < 1025; ++line) {
            WriteFile(file, comment.data(), static_cast<DWORD>(comment.size()), &written, nullptr);
        }
        CloseHandle(file);
    }
    const Colours padded = ColoursOf(exe);
    DeleteFileW(skinFile.c_str());
    RemoveDirectoryW(skinFolder.c_str());
    const Colours plain = ColoursOf(exe);
    check(skinned.form == kSampleFace && skinned.option == kSampleFace,
          "with the skin the window and its options paint in the skin's face colour");
    check(plain.form == kWhite && plain.option == kWhite, "without it they paint white");
    check(padded.form == GetSysColor(COLOR_BTNFACE) && padded.form != kSampleFace,
          "a skin file larger than a megabyte is not used: the window paints the plain button face");
}

// The program as the installer leaves it: the files, the Start-menu shortcut and every value of
// the uninstall entry where Windows looks for them, the exe built for this Windows with its
// version resource, and the installed program listing a window. While it runs, the installer and
// the uninstaller change nothing: silent, they end with exit code 2; run by the user, setup asks
// to close the program first.

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>

#include "Driver.h"

namespace {

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VelmoraSuite";

std::optional<std::wstring> UninstallText(const wchar_t* name) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value.data(),
                 &bytes);
    value.resize(std::wcslen(value.c_str()));
    return value;
}

std::optional<DWORD> UninstallNumber(const wchar_t* name) {
    DWORD value = 0;
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &value,
                     &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) folder = path;
    CoTaskMemFree(path);
    return folder;
}

// The file a shell link points at, as the Start menu resolves it.
std::wstring ShortcutTarget(const std::wstring& link) {
    IShellLinkW* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink)))) {
        return L"";
    }
    std::wstring target(MAX_PATH, L'\0');
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(target.data(), MAX_PATH, nullptr, 0))) {
            target.resize(std::wcslen(target.c_str()));
        } else {
            target.clear();
        }
        file->Release();
    } else {
        target.clear();
    }
    shellLink->Release();
    return target;
}

// The machine field of an exe's PE header; 0 when the file is no PE image.
WORD ImageMachine(const std::wstring& exe) {
    std::ifstream file(std::filesystem::path(exe), std::ios::binary);
    IMAGE_DOS_HEADER dos{};
    file.read(reinterpret_cast<char*>(&dos), sizeof dos);
    DWORD signature = 0;
    IMAGE_FILE_HEADER header{};
    file.seekg(dos.e_lfanew);
    file.read(reinterpret_cast<char*>(&signature), sizeof signature);
    file.read(reinterpret_cast<char*>(&header), sizeof header);
    return file && dos.e_magic == IMAGE_DOS_SIGNATURE && signature == IMAGE_NT_SIGNATURE
               ? header.Machine
               : 0;
}

// The exe's version resource: its fixed version as "a.b.c" and its US English strings.
struct VersionResource {
    std::wstring fixedVersion;
    std::wstring productName;
    std::wstring originalName;
};

VersionResource ReadVersionResource(const std::wstring& exe) {
    VersionResource resource;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
    std::vector<BYTE> data(size);
    if (size == 0 || !GetFileVersionInfoW(exe.c_str(), 0, size, data.data())) return resource;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) {
        resource.fixedVersion = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                                std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                                std::to_wstring(HIWORD(fixed->dwFileVersionLS));
    }
    const auto text = [&data](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT characters = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
        return VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value),
                              &characters)
                   ? std::wstring(value)
                   : std::wstring();
    };
    resource.productName = text(L"ProductName");
    resource.originalName = text(L"OriginalFilename");
    return resource;
}

// A Windows program started from a command line.
class Started {
public:
    explicit Started(std::wstring commandLine) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != FALSE;
    }
    // One that is still running is ended: it is the check's own child.
    ~Started() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    DWORD Id() const { return started_ ? process_.dwProcessId : 0; }
    // Its exit code once it ends, or -1 when it did not start or end in time.
    long ExitCode(DWORD milliseconds) const {
        DWORD code = 0;
        if (!started_ || WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process_.hProcess, &code)) {
            return -1;
        }
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

long RunAndWait(const std::wstring& commandLine) { return Started(commandLine).ExitCode(60000); }

std::string Shown(const std::optional<std::wstring>& value) {
    return value ? Utf8(*value) : "(missing)";
}

}  // namespace

void RunInstalled(Checks& check, const std::wstring& version, const std::wstring& setup) {
    const std::wstring folder = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Velmora Suite";
    const std::wstring exe = folder + L"\\velmora.exe";
    const std::wstring uninstaller = folder + L"\\uninstall.exe";
    check(std::filesystem::is_regular_file(exe), "the program is installed: " + Utf8(exe));
    check(std::filesystem::is_regular_file(uninstaller), "the uninstaller is installed");

    const std::wstring link = KnownFolder(FOLDERID_Programs) + L"\\Velmora Suite.lnk";
    const std::wstring target = ShortcutTarget(link);
    check(target == exe, "the Start-menu shortcut " + Utf8(link) + " starts " + Utf8(target));

    const auto expectText = [&check](const wchar_t* name, const std::wstring& expected) {
        const std::optional<std::wstring> value = UninstallText(name);
        check(value == expected, "uninstall entry " + Utf8(name) + ": " + Shown(value));
    };
    expectText(L"DisplayName", L"Velmora Suite");
    expectText(L"DisplayVersion", version);
    expectText(L"Publisher", L"Quillfern");
    expectText(L"DisplayIcon", exe);
    expectText(L"InstallLocation", folder);
    expectText(L"UninstallString", L"\"" + uninstaller + L"\"");
    expectText(L"QuietUninstallString", L"\"" + uninstaller + L"\" /S");
    std::error_code error;
    const auto installedKiB = (std::filesystem::file_size(exe, error) +
                               std::filesystem::file_size(uninstaller, error)) / 1024;
    const std::optional<DWORD> size = UninstallNumber(L"EstimatedSize");
    check(size && *size + 2 >= installedKiB && *size <= installedKiB + 2,
          "uninstall entry EstimatedSize is the installed files' " + std::to_string(installedKiB) +
              " KiB: " + (size ? std::to_string(*size) : "(missing)"));

    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    const bool windows64 = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
    const WORD machine = ImageMachine(exe);
    check(machine == (windows64 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386),
          std::string("the installed exe is built for this ") + (windows64 ? "64" : "32") +
              "-bit Windows: machine " + std::to_string(machine));
    const VersionResource resource = ReadVersionResource(exe);
    check(resource.fixedVersion == version && resource.productName == L"Velmora Suite" &&
              resource.originalName == L"velmora.exe",
          "the exe's version resource: " + Utf8(resource.productName) + " " +
              Utf8(resource.fixedVersion) + " " + Utf8(resource.originalName));

    Targets targets;
    const std::wstring title = L"Velmora E2E Installed";
    targets.Create(title, WS_OVERLAPPEDWINDOW);
    PumpFor(1000);
    ProgramUnderTest program(target.empty() ? exe : target);
    const std::vector<Row> rows = ReadRows(program);
    check(RowIndex(rows, Utf8(title)) >= 0,
          "the installed program lists a target: " + Join(Titles(rows)));

    const auto written = [&] {
        std::error_code error;
        return std::pair{std::filesystem::last_write_time(exe, error),
                         std::filesystem::last_write_time(uninstaller, error)};
    };
    const auto writtenBefore = written();

    check(RunAndWait(L"\"" + setup + L"\" /S") == 2,
          "with the program running, the silent installer stops with exit code 2");
    // _?= runs the uninstaller in place instead of from a copy, so its exit code is its own.
    check(RunAndWait(L"\"" + uninstaller + L"\" /S _?=" + folder) == 2,
          "with the program running, the silent uninstaller stops with exit code 2");
    {
        // Run by the user, setup says why it cannot go on and waits; Cancel ends it.
        const Started interactive(L"\"" + setup + L"\"");
        HWND box = nullptr;
        WaitUntil([&] { return (box = DialogOf(interactive.Id())) != nullptr; }, 20000);
        const std::string text = box != nullptr ? DialogText(box) : "(no box)";
        check(text == "Velmora Suite is running. Please close it, then click Retry.",
              "with the program running, setup asks the user to close it: " + text);
        if (box != nullptr) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        check(interactive.ExitCode(20000) == 2, "Cancel ends setup with exit code 2");
    }
    check(written() == writtenBefore && UninstallText(L"DisplayName").has_value(),
          "none of them wrote or removed the program, the uninstaller or its entry");
    DWORD code = 0;
    check(program.CloseAndWait(10000, &code), "the installed program ends on WM_CLOSE");
}

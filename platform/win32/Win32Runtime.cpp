#include "Win32Runtime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>

#include "InputDialog.h"
#include "Utf.h"
#include "Win32Widgets.h"
#include "platform/NumberText.h"
#include "platform/RuntimeError.h"

namespace velmora::win32 {

namespace {

// Where the runtime has always kept its programs' settings, so existing choices carry over.
std::wstring SettingsKey(std::string_view app, std::string_view section) {
    return L"Software\\VB and VBA Program Settings\\" + Widen(app) + L"\\" + Widen(section);
}

}  // namespace

HWND Win32Runtime::BoxOwner() const {
    const HWND form = widgets_.Form();
    return form != nullptr && IsWindowVisible(form) ? form : nullptr;
}

std::string Win32Runtime::GetSetting(std::string_view app, std::string_view section,
                                     std::string_view key, std::string_view fallback) {
    const std::wstring subKey = SettingsKey(app, section);
    const std::wstring name = Widen(key);
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                     nullptr, &bytes) != ERROR_SUCCESS) {
        return std::string(fallback);
    }
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                     value.data(), &bytes) != ERROR_SUCCESS) {
        return std::string(fallback);
    }
    value.resize(wcsnlen(value.c_str(), value.size()));
    return Narrow(value);
}

void Win32Runtime::SaveSetting(std::string_view app, std::string_view section,
                               std::string_view key, std::string_view value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKey(app, section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
        throw RuntimeError(5, "Invalid procedure call or argument");
    }
    const std::wstring text = Widen(value);
    const LONG result = RegSetValueExW(
        handle, Widen(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS) throw RuntimeError(5, "Invalid procedure call or argument");
}

int Win32Runtime::MsgBox(std::string_view text, int style, std::string_view title) {
    return MessageBoxW(BoxOwner(), Widen(text).c_str(), Widen(title).c_str(),
                       static_cast<UINT>(style));
}

std::string Win32Runtime::InputBox(std::string_view prompt, std::string_view title) {
    return Narrow(ShowInputDialog(BoxOwner(), Widen(prompt), Widen(title)));
}

void Win32Runtime::DoEvents() { pump_.DispatchPending(); }

void Win32Runtime::WaitForEvents(double seconds) {
    const auto milliseconds = static_cast<DWORD>(std::ceil(std::clamp(seconds, 0.0, 86400.0) * 1000));
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

double Win32Runtime::MonotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Win32Runtime::LocalNowSeconds() {
    constexpr double kSecondsFrom1601To1970 = 11644473600.0;
    SYSTEMTIME local;
    GetLocalTime(&local);
    FILETIME asFileTime;
    SystemTimeToFileTime(&local, &asFileTime);
    const ULONGLONG ticks =
        (static_cast<ULONGLONG>(asFileTime.dwHighDateTime) << 32) | asFileTime.dwLowDateTime;
    return static_cast<double>(ticks) / 1e7 - kSecondsFrom1601To1970;
}

void Win32Runtime::End() { ExitProcess(0); }

std::string Win32Runtime::AppPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto folderEnd = path.find_last_of(L'\\');
    path.resize(folderEnd == std::wstring::npos ? 0 : folderEnd);
    return Narrow(path);
}

void Win32Runtime::FileDateTime(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() ||
        !GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) {
        throw RuntimeError::FileNotFound();
    }
}

Picture Win32Runtime::LoadPicture(std::string_view path) {
    const std::wstring file = Widen(path);
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        throw RuntimeError::FileNotFound();
    }
    const HANDLE cursor = LoadImageW(nullptr, file.c_str(), IMAGE_CURSOR, 0, 0,
                                     LR_LOADFROMFILE | LR_DEFAULTSIZE);
    if (cursor == nullptr) throw RuntimeError::InvalidPicture();
    return pictures_.Add(static_cast<HCURSOR>(cursor));
}

std::string Win32Runtime::FindOrdinaryFile(std::string_view path) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Widen(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    FindClose(search);
    constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    return (found.dwFileAttributes & kNotOrdinary) != 0 ? std::string() : Narrow(found.cFileName);
}

std::string Win32Runtime::ReadTextFile(std::string_view path, std::size_t mostBytes) {
    const HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw RuntimeError::FileNotFound();
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (text.size() <= mostBytes && ReadFile(file, buffer, sizeof buffer, &read, nullptr) &&
           read > 0) {
        text.append(buffer, read);
    }
    CloseHandle(file);
    if (text.size() > mostBytes) throw RuntimeError::OutOfMemory();
    return text;
}

char Win32Runtime::DecimalSeparator() const {
    wchar_t separator[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 0 &&
        separator[0] > 0 && separator[0] < 0x80 && separator[1] == L'\0') {
        return static_cast<char>(separator[0]);
    }
    return '.';
}

std::string Win32Runtime::FormatNumber(double value) {
    return FormatLocaleNumber(value, DecimalSeparator());
}

std::optional<double> Win32Runtime::ParseNumber(std::string_view text) {
    return ParseLocaleNumber(text, DecimalSeparator());
}

bool Win32Runtime::TextContains(std::string_view text, std::string_view find) {
    const std::wstring haystack = Widen(text);
    const std::wstring needle = Widen(find);
    if (needle.empty()) return true;
    return FindNLSStringEx(LOCALE_NAME_USER_DEFAULT, FIND_FROMSTART | LINGUISTIC_IGNORECASE,
                           haystack.c_str(), static_cast<int>(haystack.size()), needle.c_str(),
                           static_cast<int>(needle.size()), nullptr, nullptr, nullptr, 0) >= 0;
}

}  // namespace velmora::win32

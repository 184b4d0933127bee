#include "Main.h"

#include "platform/Runtime.h"

namespace velmora {

bool FileExists(Runtime& runtime, std::string_view path) {
    try {
        runtime.FileDateTime(path);
        return true;
    } catch (...) {
        return false;
    }
}

std::string ProgramFile(Runtime& runtime, std::string_view relativePath) {
    const char separator = runtime.PathSeparator();
    std::string path = runtime.AppPath();
    path += separator;
    for (const char c : relativePath) path += (c == '/' ? separator : c);
    return path;
}

void WaitSeconds(Runtime& runtime, double seconds) {
    WaitSecondsUnless(runtime, seconds, [] { return false; });
}

void WaitSecondsUnless(Runtime& runtime, double seconds, const std::function<bool()>& done) {
    const double start = runtime.MonotonicSeconds();
    for (;;) {
        const double elapsed = runtime.MonotonicSeconds() - start;
        if (elapsed >= seconds || done()) return;
        runtime.WaitForEvents(seconds - elapsed);
        runtime.DoEvents();
    }
}

std::string DecimalSeparator(Runtime& runtime) {
    std::string half = runtime.FormatNumber(0.5);
    const auto first = half.find_first_not_of(' ');
    half.erase(0, first == std::string::npos ? half.size() : first);
    return half.size() >= 2 ? half.substr(1, 1) : std::string(".");
}

namespace {

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace

std::string NormalizeDecimal(Runtime& runtime, std::string_view text, bool dotted) {
    const std::string separator = DecimalSeparator(runtime);
    if (dotted) return ReplaceAll(std::string(text), separator, ".");
    return ReplaceAll(ReplaceAll(std::string(text), ".", separator), ",", separator);
}

bool InDateRange(double nowSeconds, double seconds) {
    constexpr double kFirstDate = -59011459200.0;  // 0100-01-01 00:00:00
    constexpr double kLastDate = 253402300799.0;   // 9999-12-31 23:59:59
    const double due = nowSeconds + seconds;
    return due >= kFirstDate && due <= kLastDate;
}

void MakeTopmost(WindowSystem& windows, Hwnd window) {
    windows.SetWindowPos(window, kHwndTopmost, kSwpNoSize | kSwpNoMove);
}

// Without kSwpNoActivate some window systems leave the active window where it is.
void MakeRegular(WindowSystem& windows, Hwnd window) {
    windows.SetWindowPos(window, kHwndBottom, kSwpNoSize | kSwpNoMove | kSwpNoActivate);
}

std::string AppTitleFrom(std::string_view displayName) {
    std::string_view title = displayName;
    do {
        const auto blank = title.rfind(' ');
        if (blank == std::string_view::npos) break;
        title = title.substr(0, blank);
    } while (title.size() > 40);
    return std::string(title);
}

}  // namespace velmora

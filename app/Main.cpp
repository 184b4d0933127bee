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
    const double start = runtime.MonotonicSeconds();
    for (;;) {
        const double elapsed = runtime.MonotonicSeconds() - start;
        if (elapsed >= seconds) return;
        runtime.WaitForEvents(seconds - elapsed);
        runtime.DoEvents();
    }
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

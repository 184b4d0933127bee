#include "Scenario.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <fstream>

namespace e2e {

Window Context::Create(TargetKind kind, const std::string& title) {
    const Window window = x.Create(kind, title);
    targets[title] = window;
    return window;
}

bool Context::HasState(Window window, const std::string& atom) {
    const auto states = x.Info(window).netStates;
    return std::find(states.begin(), states.end(), atom) != states.end();
}

bool Context::SettingsHold(const std::string& line) {
    std::ifstream file(settingsFile);
    std::string each;
    while (std::getline(file, each)) {
        if (each == line) return true;
    }
    return false;
}

// Qt marks all the program's windows for embedding: its tray icon is the shown one that is
// neither the form nor a window of the root's own (the balloon).
Window Context::TrayIcon() {
    for (const Window window : x.WindowsWithProperty("_XEMBED_INFO")) {
        if (window == app.form() || x.Cardinal(window, "_NET_WM_PID") != app.pid() ||
            !x.Info(window).viewable) {
            continue;
        }
        const Window parent = x.Parent(window);
        if (parent != 0 && parent != DefaultRootWindow(x.display())) return window;
    }
    return 0;
}

}  // namespace e2e

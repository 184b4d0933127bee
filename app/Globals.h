#pragma once
// Program-wide state, one instance per running program.

#include <string>

#include "platform/WindowSystem.h"

namespace velmora {

struct Globals {
    // The main window, recorded at start-up; never listed among the open windows.
    Hwnd MainWindowHandle = 0;
    // Title of every message and input box that gives none of its own.
    std::string AppTitle;
};

}  // namespace velmora

#pragma once
// The one layer through which the core reaches the window system, the runtime and its own
// window. A backend provides all of them.

#include "Keyboard.h"
#include "Runtime.h"
#include "RuntimeError.h"
#include "Shell.h"
#include "Widgets.h"
#include "WindowSystem.h"

namespace velmora {

struct Platform {
    WindowSystem& windows;
    Keyboard& keyboard;
    Runtime& runtime;
    Widgets& widgets;
    Shell& shell;
};

}  // namespace velmora

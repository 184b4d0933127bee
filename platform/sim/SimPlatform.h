#pragma once
// The whole sim backend: one recorder shared by the desktop, keyboard, runtime and widgets.

#include "Recorder.h"
#include "SimDesktop.h"
#include "SimKeyboard.h"
#include "SimRuntime.h"
#include "SimShell.h"
#include "SimWidgets.h"
#include "platform/Platform.h"

namespace velmora::sim {

struct SimPlatform {
    Recorder recorder;
    SimDesktop desktop{recorder};
    SimKeyboard keyboard{recorder};
    SimRuntime runtime{recorder};
    SimWidgets widgets{recorder, desktop, runtime};
    SimShell shell{recorder};
    Platform platform{desktop, keyboard, runtime, widgets, shell};

    // The foreground window reacts to Alt+F4 typed through the keyboard.
    SimPlatform() {
        keyboard.onInput = [this](const std::vector<KeyInputRecord>& batch) {
            if (PressesAltF4(batch)) desktop.PressAltF4();
        };
    }
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;
};

}  // namespace velmora::sim

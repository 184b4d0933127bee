#pragma once
// The whole sim backend: one recorder shared by the desktop, the runtime and the widgets.

#include "Recorder.h"
#include "SimDesktop.h"
#include "SimRuntime.h"
#include "SimWidgets.h"
#include "platform/Platform.h"

namespace velmora::sim {

struct SimPlatform {
    Recorder recorder;
    SimDesktop desktop{recorder};
    SimRuntime runtime{recorder};
    SimWidgets widgets{recorder, desktop};
    Platform platform{desktop, runtime, widgets};
};

}  // namespace velmora::sim

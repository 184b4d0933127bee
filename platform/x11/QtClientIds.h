#pragma once
// The window ids that Qt's own X connection gives out: every window of the program's own
// (its form, its boxes, its tray icon) carries them.

#include <vector>

#include "X11WindowSystem.h"

namespace velmora::x11 {

// Qt's connection's ids; none when Qt does not run on X11.
std::vector<ClientIds> QtClientIds();

}  // namespace velmora::x11

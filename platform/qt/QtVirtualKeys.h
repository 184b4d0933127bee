#pragma once
// Qt key events in the Windows vocabulary the core speaks.

#include <Qt>

namespace velmora::qt {

// The virtual key of a Qt key; 0 when it has none.
int VirtualKeyOfQtKey(int key);
// The core's shift bits: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftBits(Qt::KeyboardModifiers modifiers);

}  // namespace velmora::qt

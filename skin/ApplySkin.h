#pragma once
// Dresses the main window in the skin file from the program's folder, when there is one.

#include "SkinFramework.h"
#include "platform/Platform.h"

namespace velmora {

// Without an ordinary file "x/o.cjs" in the program's folder nothing happens. With one, the
// form and its option buttons, check boxes, frames and labels take the button-face colour,
// then the engine loads the file and is applied to the form.
void ApplySkin(Runtime& runtime, Widgets& widgets, const FormSpec& design, SkinFramework& engine);

}  // namespace velmora

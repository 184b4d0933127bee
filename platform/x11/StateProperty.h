#pragma once
// Writes a UTF-8 text property on a window, for tools that read the program's state.

#include <string>

#include "XConnection.h"
#include "platform/WindowSystem.h"

namespace velmora::x11 {

void WriteTextProperty(XConnection& connection, Hwnd window, const std::string& property,
                       const std::string& utf8);

}  // namespace velmora::x11

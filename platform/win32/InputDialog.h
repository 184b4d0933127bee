#pragma once
// The runtime's input box: a prompt, a one-line field, OK and Cancel.

#include "WindowsApi.h"

#include <string>

namespace velmora::win32 {

// The text typed, or the empty text when the user cancels.
std::wstring ShowInputDialog(HWND owner, const std::wstring& prompt, const std::wstring& title);

}  // namespace velmora::win32

#pragma once
// UTF-8 in the core, UTF-16 in the wide Windows APIs; what is malformed on either side
// becomes U+FFFD, as platform/Utf16.h converts.

#include <string>
#include <string_view>

namespace velmora::win32 {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace velmora::win32

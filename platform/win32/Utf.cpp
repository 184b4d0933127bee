#include "Utf.h"

#include "platform/Utf16.h"

namespace velmora::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide APIs take UTF-16 code units");

std::wstring Widen(std::string_view text) {
    const std::u16string units = ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

std::string Narrow(std::wstring_view text) {
    return ToUtf8(std::u16string(text.begin(), text.end()));
}

}  // namespace velmora::win32

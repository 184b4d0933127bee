#pragma once
// The sender reads its text in UTF-16 code units, the units its notation counts in.

#include <string>
#include <string_view>

namespace velmora {

// `utf8` as UTF-16. Each malformed or truncated sequence (the longest prefix of a valid
// sequence, or else a single byte) becomes one U+FFFD.
std::u16string ToUtf16(std::string_view utf8);

}  // namespace velmora

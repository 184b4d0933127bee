#pragma once
// UTF-8, the core's text, and UTF-16, the code units the keystroke sender counts in and the
// wide Windows APIs take.

#include <string>
#include <string_view>

namespace velmora {

// `utf8` as UTF-16. Each malformed or truncated sequence (the longest prefix of a valid
// sequence, or else a single byte) becomes one U+FFFD.
std::u16string ToUtf16(std::string_view utf8);

// `utf16` as UTF-8. Each surrogate without its partner becomes one U+FFFD.
std::string ToUtf8(std::u16string_view utf16);

// `bytes` as valid UTF-8: each sequence that ToUtf16 reads as U+FFFD is written as U+FFFD, so
// that every reader of the text sees the same characters.
std::string ValidUtf8(std::string_view bytes);

// `utf8` without a last character that a read stopping at a limit cut in two.
std::string_view WithoutCutCharacter(std::string_view utf8);

}  // namespace velmora

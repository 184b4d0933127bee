#pragma once
// Case folding for the sim's text comparison: ASCII, Latin-1, Greek and Cyrillic capitals
// become small letters; invalid UTF-8 bytes become U+FFFD.

#include <string>
#include <string_view>

namespace velmora::sim {

std::u32string FoldCase(std::string_view utf8);

}  // namespace velmora::sim

#pragma once
// The repeat count of a braced key ({F4 3}), read from the word after the key's name.

#include <string_view>

namespace velmora {

// The number `word` begins with (an optional sign, digits, an optional decimal fraction; 0
// when it begins with none), rounded to the nearest whole number with halves to even. A
// count below 1 is 1. Throws RuntimeError::Overflow when the rounded number does not fit in
// 32 bits.
int RepeatCount(std::u16string_view word);

}  // namespace velmora

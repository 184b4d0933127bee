#pragma once
// The repeat count of a braced key ({F4 3}), read from the word after the key's name.

#include <string_view>

namespace velmora {

// The number `word` begins with, rounded to the nearest whole number with halves to even; 0
// when it begins with none. The number is an optional sign, digits, an optional '.' fraction
// and an optional exponent (E or D), or a hexadecimal (&H) or octal (&O) integer, which is a
// 16-bit value when it fits in 16 bits and a 32-bit one otherwise (&HFFFF is -1). A count
// below 1 is 1. Throws RuntimeError::Overflow when the number does not fit in 32 bits.
int RepeatCount(std::u16string_view word);

}  // namespace velmora

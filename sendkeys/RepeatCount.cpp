#include "RepeatCount.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/RuntimeError.h"

namespace velmora {

namespace {

constexpr std::uint64_t kLargestCount = 2147483647;
constexpr std::uint64_t kLargestNegative = 2147483648;
// Whole parts beyond any 32-bit number stop growing here: they overflow either way.
constexpr std::uint64_t kSaturated = kLargestNegative + 1;
// Exponents beyond this move every digit past the 32-bit range or below the rounding digit.
constexpr std::int64_t kLargestExponent = 100000;
constexpr std::uint64_t kLargestWord = 0xFFFF;
constexpr std::uint64_t kLargestLong = 0xFFFFFFFF;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

// The value of `c` as a digit of `base` (8 or 16), or -1.
int RadixDigit(char16_t c, int base) {
    if (IsDigit(c)) return c - u'0' < base ? c - u'0' : -1;
    const char16_t upper = Upper(c);
    if (base == 16 && upper >= u'A' && upper <= u'F') return upper - u'A' + 10;
    return -1;
}

// The count of a number written as &H or &O and digits (`digits` starts after the prefix). The
// value is a 16-bit integer when it fits in 16 bits and a 32-bit one when it fits in 32 bits,
// both read as two's complement, so &HFFFF is -1; anything larger overflows.
int RadixCount(std::u16string_view digits, int base) {
    std::uint64_t value = 0;
    for (const char16_t c : digits) {
        const int digit = RadixDigit(c, base);
        if (digit < 0) break;
        value = std::min(value * static_cast<std::uint64_t>(base) +
                             static_cast<std::uint64_t>(digit),
                         kLargestLong + 1);
    }
    if (value > kLargestLong) throw RuntimeError::Overflow();
    const std::int64_t number = value <= kLargestWord
                                    ? static_cast<std::int16_t>(static_cast<std::uint16_t>(value))
                                    : static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return number < 1 ? 1 : static_cast<int>(number);
}

// The count of a decimal number: an optional sign, digits with an optional '.' fraction, and
// an optional exponent (E or D, an optional sign, digits). It is rounded exactly from the
// digits, so that no binary fraction moves a half.
int DecimalCount(std::u16string_view word) {
    std::size_t next = 0;
    const bool negative = !word.empty() && word[0] == u'-';
    if (!word.empty() && (word[0] == u'-' || word[0] == u'+')) ++next;

    // The significant digits, and how many of them stand before the decimal point.
    std::u16string digits;
    std::int64_t point = 0;
    for (; next < word.size() && IsDigit(word[next]); ++next) {
        if (!digits.empty() || word[next] != u'0') {
            digits += word[next];
            ++point;
        }
    }
    if (next < word.size() && word[next] == u'.') {
        for (++next; next < word.size() && IsDigit(word[next]); ++next) {
            if (!digits.empty() || word[next] != u'0') {
                digits += word[next];
            } else {
                --point;
            }
        }
    }
    // An exponent marker without digits leaves the number as it stands.
    if (next < word.size() && (Upper(word[next]) == u'E' || Upper(word[next]) == u'D')) {
        std::size_t at = next + 1;
        const bool negativeExponent = at < word.size() && word[at] == u'-';
        if (at < word.size() && (word[at] == u'-' || word[at] == u'+')) ++at;
        std::int64_t exponent = 0;
        const std::size_t exponentStart = at;
        for (; at < word.size() && IsDigit(word[at]); ++at) {
            exponent = std::min<std::int64_t>(exponent * 10 + (word[at] - u'0'), kLargestExponent);
        }
        if (at > exponentStart) point += negativeExponent ? -exponent : exponent;
    }
    if (digits.empty()) return 1;

    std::uint64_t whole = 0;
    for (std::int64_t i = 0; i < point && whole < kSaturated; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const int digit = index < digits.size() ? digits[index] - u'0' : 0;
        whole = std::min(whole * 10 + static_cast<std::uint64_t>(digit), kSaturated);
    }

    // The first digit after the point decides the rounding; on a 5 the rest tells a half from
    // more.
    if (point >= 0 && point < static_cast<std::int64_t>(digits.size())) {
        const auto first = static_cast<std::size_t>(point);
        const int firstDigit = digits[first] - u'0';
        const bool laterDigitsNonZero =
            std::any_of(digits.begin() + static_cast<std::ptrdiff_t>(first) + 1, digits.end(),
                        [](char16_t c) { return c != u'0'; });
        const bool roundUp =
            firstDigit > 5 || (firstDigit == 5 && (laterDigitsNonZero || whole % 2 == 1));
        if (roundUp) whole = std::min(whole + 1, kSaturated);
    }

    if (whole > (negative ? kLargestNegative : kLargestCount)) throw RuntimeError::Overflow();
    if (negative || whole == 0) return 1;
    return static_cast<int>(whole);
}

}  // namespace

int RepeatCount(std::u16string_view word) {
    if (word.size() >= 2 && word[0] == u'&') {
        if (Upper(word[1]) == u'H') return RadixCount(word.substr(2), 16);
        if (Upper(word[1]) == u'O') return RadixCount(word.substr(2), 8);
    }
    return DecimalCount(word);
}

}  // namespace velmora

#include "RepeatCount.h"

#include <algorithm>
#include <cstdint>

#include "platform/RuntimeError.h"

namespace velmora {

namespace {

constexpr std::uint64_t kLargestCount = 2147483647;
constexpr std::uint64_t kLargestNegative = 2147483648;
// Whole parts beyond any 32-bit number stop growing here: they overflow either way.
constexpr std::uint64_t kSaturated = kLargestNegative + 1;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

int RepeatCount(std::u16string_view word) {
    std::size_t next = 0;
    const bool negative = !word.empty() && word[0] == u'-';
    if (!word.empty() && (word[0] == u'-' || word[0] == u'+')) ++next;

    std::uint64_t whole = 0;
    for (; next < word.size() && IsDigit(word[next]); ++next) {
        whole = std::min(whole * 10 + (word[next] - u'0'), kSaturated);
    }

    // The first fraction digit decides the rounding; on a 5 the rest tells a half from more.
    if (next < word.size() && word[next] == u'.') {
        ++next;
        const int firstDigit = next < word.size() && IsDigit(word[next]) ? word[next++] - u'0' : 0;
        bool laterDigitsNonZero = false;
        for (; next < word.size() && IsDigit(word[next]); ++next) {
            laterDigitsNonZero = laterDigitsNonZero || word[next] != u'0';
        }
        const bool roundUp =
            firstDigit > 5 || (firstDigit == 5 && (laterDigitsNonZero || whole % 2 == 1));
        if (roundUp) whole = std::min(whole + 1, kSaturated);
    }

    if (whole > (negative ? kLargestNegative : kLargestCount)) throw RuntimeError::Overflow();
    if (negative || whole == 0) return 1;
    return static_cast<int>(whole);
}

}  // namespace velmora

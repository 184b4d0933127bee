#include "Utf16.h"

#include <cstdint>

namespace velmora {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// What a lead byte starts: how many continuation bytes follow, the range its first
// continuation byte must lie in (which excludes overlong forms, surrogates and code points
// beyond U+10FFFF), and which of the lead byte's bits belong to the code point.
struct SequenceStart {
    int continuations = 0;  // 0: the byte starts no sequence
    unsigned char firstLow = 0x80;
    unsigned char firstHigh = 0xBF;
    unsigned char leadBits = 0;
};

SequenceStart Start(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return {1, 0x80, 0xBF, 0x1F};
    if (lead == 0xE0) return {2, 0xA0, 0xBF, 0x0F};
    if (lead == 0xED) return {2, 0x80, 0x9F, 0x0F};
    if (lead >= 0xE1 && lead <= 0xEF) return {2, 0x80, 0xBF, 0x0F};
    if (lead == 0xF0) return {3, 0x90, 0xBF, 0x07};
    if (lead >= 0xF1 && lead <= 0xF3) return {3, 0x80, 0xBF, 0x07};
    if (lead == 0xF4) return {3, 0x80, 0x8F, 0x07};
    return {};
}

void AppendCodePoint(std::u16string& units, char32_t codePoint) {
    if (codePoint < 0x10000) {
        units += static_cast<char16_t>(codePoint);
        return;
    }
    codePoint -= 0x10000;
    units += static_cast<char16_t>(0xD800 + (codePoint >> 10));
    units += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
}

}  // namespace

std::u16string ToUtf16(std::string_view utf8) {
    std::u16string units;
    units.reserve(utf8.size());
    std::size_t next = 0;
    while (next < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[next++]);
        if (lead < 0x80) {
            units += static_cast<char16_t>(lead);
            continue;
        }
        const SequenceStart start = Start(lead);
        char32_t codePoint = lead & start.leadBits;
        unsigned char low = start.firstLow;
        unsigned char high = start.firstHigh;
        int missing = start.continuations;
        for (; missing > 0 && next < utf8.size(); --missing) {
            const auto byte = static_cast<unsigned char>(utf8[next]);
            if (byte < low || byte > high) break;
            codePoint = codePoint << 6 | (byte & 0x3Fu);
            ++next;
            low = 0x80;
            high = 0xBF;
        }
        if (start.continuations == 0 || missing > 0) {
            units += kReplacement;
        } else {
            AppendCodePoint(units, codePoint);
        }
    }
    return units;
}

}  // namespace velmora

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

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf8(std::string& bytes, char32_t codePoint) {
    const auto byte = [&bytes](char32_t bits) { bytes += static_cast<char>(bits); };
    if (codePoint < 0x80) {
        byte(codePoint);
    } else if (codePoint < 0x800) {
        byte(0xC0 | codePoint >> 6);
        byte(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        byte(0xE0 | codePoint >> 12);
        byte(0x80 | (codePoint >> 6 & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    } else {
        byte(0xF0 | codePoint >> 18);
        byte(0x80 | (codePoint >> 12 & 0x3F));
        byte(0x80 | (codePoint >> 6 & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace

std::string ToUtf8(std::u16string_view utf16) {
    std::string bytes;
    bytes.reserve(utf16.size());
    for (std::size_t next = 0; next < utf16.size(); ++next) {
        const char16_t unit = utf16[next];
        if (IsHighSurrogate(unit) && next + 1 < utf16.size() && IsLowSurrogate(utf16[next + 1])) {
            const char32_t high = unit - 0xD800u;
            const char32_t low = utf16[++next] - 0xDC00u;
            AppendUtf8(bytes, 0x10000 + (high << 10 | low));
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(bytes, kReplacement);
        } else {
            AppendUtf8(bytes, unit);
        }
    }
    return bytes;
}

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

std::string ValidUtf8(std::string_view bytes) { return ToUtf8(ToUtf16(bytes)); }

std::string_view WithoutCutCharacter(std::string_view utf8) {
    // The last lead byte lies at most three bytes back from the end.
    for (std::size_t back = 1; back <= 4 && back <= utf8.size(); ++back) {
        const auto byte = static_cast<unsigned char>(utf8[utf8.size() - back]);
        if ((byte & 0xC0) == 0x80) continue;
        const int length = Start(byte).continuations + 1;
        return length > static_cast<int>(back) ? utf8.substr(0, utf8.size() - back) : utf8;
    }
    return utf8;
}

}  // namespace velmora

#include "SimKeyboard.h"

#include <string>
#include <string_view>

namespace velmora::sim {

namespace {

constexpr std::uint32_t kUsLayout = 0x04090409;
constexpr std::uint32_t kGermanLayout = 0x04070407;

// US punctuation: the character typed without Shift, then with Shift, and their key.
struct PunctuationKey {
    char plain;
    char shifted;
    std::uint8_t virtualKey;
};
constexpr PunctuationKey kUsPunctuation[] = {
    {'`', '~', 0xC0}, {'-', '_', 0xBD}, {'=', '+', 0xBB}, {'[', '{', 0xDB}, {']', '}', 0xDD},
    {'\\', '|', 0xDC}, {';', ':', 0xBA}, {'\'', '"', 0xDE}, {',', '<', 0xBC}, {'.', '>', 0xBE},
    {'/', '?', 0xBF}};
constexpr std::string_view kShiftedDigits = ")!@#$%^&*(";

constexpr std::int16_t kShift = 0x100;
constexpr std::int16_t kAltGr = 0x600;  // Ctrl and Alt

std::int16_t UsKey(char16_t c) {
    if (c >= 'a' && c <= 'z') return static_cast<std::int16_t>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return static_cast<std::int16_t>(kShift | c);
    if (c >= '0' && c <= '9') return static_cast<std::int16_t>(c);
    if (c == ' ') return 0x20;
    if (c == '\t') return 0x09;
    if (c == '\r') return 0x0D;
    if (c == '\b') return 0x08;
    if (c < 0x80) {
        const auto digit = kShiftedDigits.find(static_cast<char>(c));
        if (digit != std::string_view::npos) return static_cast<std::int16_t>(kShift | ('0' + digit));
        for (const PunctuationKey& key : kUsPunctuation) {
            if (c == static_cast<unsigned char>(key.plain)) return key.virtualKey;
            if (c == static_cast<unsigned char>(key.shifted)) return kShift | key.virtualKey;
        }
    }
    return -1;
}

// A German layout as far as the tests need it: Y and Z swapped, umlauts on their own keys,
// brackets, braces, backslash, @ and ~ on AltGr.
std::int16_t GermanKey(char16_t c) {
    switch (c) {
        case 'y': return 'Z';
        case 'z': return 'Y';
        case 'Y': return kShift | 'Z';
        case 'Z': return kShift | 'Y';
        case u'ä': return 0xDE;
        case u'ö': return 0xC0;
        case u'ü': return 0xBA;
        case u'ß': return 0xDB;
        case '@': return kAltGr | 'Q';
        case '{': return kAltGr | '7';
        case '[': return kAltGr | '8';
        case ']': return kAltGr | '9';
        case '}': return kAltGr | '0';
        case '\\': return kAltGr | 0xDB;
        case '~': return kAltGr | 0xBB;
        default: return UsKey(c);
    }
}

// Scan codes of the keys the tests use, by virtual key.
std::uint16_t ScanCode(std::uint16_t virtualKey) {
    static constexpr std::string_view kLetterRows{"QWERTYUIOP\0\0\0\0ASDFGHJKL\0\0\0\0\0ZXCVBNM", 35};
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return static_cast<std::uint16_t>(0x10 + kLetterRows.find(static_cast<char>(virtualKey)));
    }
    if (virtualKey >= '1' && virtualKey <= '9') return static_cast<std::uint16_t>(virtualKey - '1' + 2);
    if (virtualKey == '0') return 0x0B;
    if (virtualKey >= 0x70 && virtualKey <= 0x79) return static_cast<std::uint16_t>(virtualKey - 0x70 + 0x3B);
    switch (virtualKey) {
        case 0x7A: return 0x57;  // F11
        case 0x7B: return 0x58;  // F12
        case 0x08: return 0x0E;
        case 0x09: return 0x0F;
        case 0x0D: return 0x1C;
        case 0x10: return 0x2A;
        case 0x11: return 0x1D;
        case 0x12: return 0x38;
        case 0x13: return 0x45;
        case 0x14: return 0x3A;
        case 0x1B: return 0x01;
        case 0x20: return 0x39;
        case 0x21: return 0x49;
        case 0x22: return 0x51;
        case 0x23: return 0x4F;
        case 0x24: return 0x47;
        case 0x25: return 0x4B;
        case 0x26: return 0x48;
        case 0x27: return 0x4D;
        case 0x28: return 0x50;
        case 0x2D: return 0x52;
        case 0x2E: return 0x53;
        case 0xBB: return 0x0D;
        case 0xBD: return 0x0C;
        case 0xC0: return 0x29;
        case 0xDB: return 0x1A;
        case 0xDD: return 0x1B;
        default: return 0;
    }
}

}  // namespace

bool PressesAltF4(const std::vector<KeyInputRecord>& batch) {
    constexpr std::uint16_t kVkF4 = 0x73;
    bool altHeld = false;
    for (const KeyInputRecord& record : batch) {
        const bool up = (record.flags & kKeyEventKeyUp) != 0;
        if (record.virtualKey == kVkMenu) altHeld = !up;
        if (record.virtualKey == kVkF4 && !up && altHeld) return true;
    }
    return false;
}

std::uint32_t SimKeyboard::GetKeyboardLayout() {
    return layout == Layout::US ? kUsLayout : kGermanLayout;
}

std::int16_t SimKeyboard::VkKeyScan(char16_t character) {
    return layout == Layout::US ? UsKey(character) : GermanKey(character);
}

std::uint16_t SimKeyboard::MapVirtualKey(std::uint16_t virtualKey, std::uint32_t) {
    return ScanCode(virtualKey);
}

void SimKeyboard::SendInput(std::span<const KeyInputRecord> records) {
    recorder_.Call("SendInput", std::to_string(records.size()));
    batches.emplace_back(records.begin(), records.end());
    if (onInput) onInput(batches.back());
}

}  // namespace velmora::sim

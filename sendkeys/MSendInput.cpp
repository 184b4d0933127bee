#include "MSendInput.h"

#include "platform/RuntimeError.h"
#include "sendkeys/RepeatCount.h"
#include "platform/Utf16.h"

namespace velmora {

namespace {

// The most records one call sends; a longer sequence is refused as a whole.
constexpr std::uint64_t kMaxRecords = 65536;

// VkKeyScan's answer for a character that no key of the layout types.
constexpr std::int16_t kNoKey = -1;

// What a VkKeyScan result asks for: the key in its low byte, Shift in bit 0 of its high byte,
// and AltGr (pressed as Ctrl and Alt together) when bit 1 or 2 asks for Ctrl or Alt.
struct ScannedKey {
    std::uint16_t virtualKey;
    bool shift;
    bool ctrlAlt;
};

ScannedKey FromKeyScan(std::int16_t keyScan) {
    const auto bits = static_cast<std::uint16_t>(keyScan);
    return {static_cast<std::uint16_t>(bits & 0xFF), (bits & 0x100) != 0, (bits & 0x600) != 0};
}

// The key a prefix holds down; 0 when the character is no prefix.
std::uint16_t PrefixKey(char16_t c) {
    switch (c) {
        case u'+': return kVkShift;
        case u'^': return kVkControl;
        case u'%': return kVkMenu;
        default: return 0;
    }
}

bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The word after the first single space; empty when there is none.
std::u16string_view SecondWord(std::u16string_view text) {
    const std::size_t space = text.find(u' ');
    if (space == text.npos) return {};
    const std::u16string_view rest = text.substr(space + 1);
    return rest.substr(0, rest.find(u' '));
}

// Empties the parse state's text and event buffer when a call ends, however it ends.
struct ReleaseOnExit {
    std::u16string& text;
    std::vector<KeyInputRecord>& records;
    ~ReleaseOnExit() {
        text = {};
        records = {};
    }
};

}  // namespace

void MSendInput::SendKeySequence(std::string_view text, bool) {
    if (!keyTables_) keyTables_ = BuildKeyTables();
    keyboardLayout_ = keyboard_.GetKeyboardLayout();
    const ReleaseOnExit release{text_, records_};
    text_ = ToUtf16(text);
    parsePos_ = 0;
    shiftPrefixHeld_ = false;

    while (parsePos_ < text_.size()) ParseToken();

    if (records_.empty()) return;
    for (KeyInputRecord& record : records_) record.type = kInputKeyboard;
    keyboard_.SendInput(records_);
}

void MSendInput::ParseToken() {
    if (parsePos_ >= text_.size()) return;  // a prefix at the very end has no token to hold
    const char16_t c = text_[parsePos_++];
    if (PrefixKey(c) != 0) {
        ParseModifier(c);
    } else if (c == u'(') {
        ParseGroup();
    } else if (c == u'{') {
        ParseBraced();
    } else {
        ParseCharacter(c);
    }
}

// Holds the prefix's key down around the next token. A run of prefixes ("+^a") is taken in
// one loop rather than by recursion, so that no length of run can exhaust the stack: the keys
// go down in order, the token after the run is parsed, and they come up in reverse order.
void MSendInput::ParseModifier(char16_t prefix) {
    std::vector<std::uint16_t> held;
    for (;;) {
        const std::uint16_t key = PrefixKey(prefix);
        EmitModifierEvent(key, false);
        if (key == kVkShift) shiftPrefixHeld_ = true;
        held.push_back(key);
        if (parsePos_ >= text_.size() || PrefixKey(text_[parsePos_]) == 0) break;
        prefix = text_[parsePos_++];
    }
    ParseToken();
    for (auto key = held.rbegin(); key != held.rend(); ++key) {
        EmitModifierEvent(*key, true);
        if (*key == kVkShift) shiftPrefixHeld_ = false;
    }
}

// "(" has been consumed. The characters up to the first ")" are typed as plain characters; an
// empty or unclosed group consumes only the "(".
void MSendInput::ParseGroup() {
    const std::size_t close = text_.find(u')', parsePos_);
    if (close == std::u16string::npos || close == parsePos_) return;
    for (std::size_t i = parsePos_; i < close; ++i) ParseCharacter(text_[i]);
    parsePos_ = close + 1;
}

// "{" has been consumed. The closing "}" is the first one after the next character, so that
// "{}}" types "}"; without one only the "{" is consumed. The braced text is a key name or a
// character, then optionally a single space and a repeat count.
void MSendInput::ParseBraced() {
    const std::size_t close = text_.find(u'}', parsePos_ + 1);
    if (close == std::u16string::npos) return;
    const auto braced = std::u16string_view(text_).substr(parsePos_, close - parsePos_);
    const int count = RepeatCount(SecondWord(braced));

    // A named key, else the key for the first character as it is, without Caps Lock; a first
    // character that has no key in the layout is typed as a Unicode character.
    const NamedKey named = keyTables_->Find(braced.substr(0, braced.find(u' ')));
    const std::int16_t keyScan =
        named.virtualKey != 0 ? named.virtualKey : keyboard_.VkKeyScan(braced[0]);
    const ScannedKey key = FromKeyScan(keyScan);
    const auto character = braced.substr(0, IsHighSurrogate(braced[0]) ? 2 : 1);
    const auto press = [&] {
        if (keyScan == kNoKey) {
            for (const char16_t unit : character) EmitUnicodeCharacter(unit);
        } else {
            EmitKeyStroke(key.virtualKey, key.shift, named.extended, key.ctrlAlt);
        }
    };

    // The first press shows how many records each takes, so the rest are refused before any
    // of them is appended when they cannot fit.
    const std::size_t before = recordCount();
    press();
    RequireRoom(static_cast<std::uint64_t>(count - 1) * (recordCount() - before));
    for (int i = 1; i < count; ++i) press();
    parsePos_ = close + 1;
}

void MSendInput::ParseCharacter(char16_t character) {
    if (character >= 0x100) {
        EmitUnicodeCharacter(character);
        return;
    }
    const std::int16_t keyScan = character == u'~' ? kVkReturn : keyboard_.VkKeyScan(character);
    if (keyScan == kNoKey) {
        EmitUnicodeCharacter(character);
        return;
    }
    ScannedKey key = FromKeyScan(keyScan);
    if (keyboard_.CapsLockOn() && IsAsciiLetter(character)) key.shift = !key.shift;
    EmitKeyStroke(key.virtualKey, key.shift, false, key.ctrlAlt);
}

// The key goes down and up inside the modifiers it needs. Shift is left alone while a "+"
// prefix holds it; Ctrl and Alt come up in the order they went down. Only the key-up record
// carries a scan code, and only the key-down record the extended flag.
void MSendInput::EmitKeyStroke(std::uint16_t virtualKey, bool shift, bool extended, bool ctrlAlt) {
    const bool ownShift = shift && !shiftPrefixHeld_;
    if (ownShift) EmitModifierEvent(kVkShift, false);
    if (ctrlAlt) {
        EmitModifierEvent(kVkControl, false);
        EmitModifierEvent(kVkMenu, false);
    }
    Append({.virtualKey = virtualKey, .flags = extended ? kKeyEventExtendedKey : 0});
    Append({.virtualKey = virtualKey,
            .scanCode = keyboard_.MapVirtualKey(virtualKey, keyboardLayout_),
            .flags = kKeyEventKeyUp});
    if (ctrlAlt) {
        EmitModifierEvent(kVkControl, true);
        EmitModifierEvent(kVkMenu, true);
    }
    if (ownShift) EmitModifierEvent(kVkShift, true);
}

void MSendInput::EmitUnicodeCharacter(char16_t codeUnit) {
    Append({.scanCode = codeUnit, .flags = kKeyEventUnicode});
    Append({.scanCode = codeUnit, .flags = kKeyEventUnicode | kKeyEventKeyUp});
}

void MSendInput::EmitModifierEvent(std::uint16_t virtualKey, bool keyUp) {
    Append({.virtualKey = virtualKey, .flags = keyUp ? kKeyEventKeyUp : 0});
}

void MSendInput::Append(const KeyInputRecord& record) {
    RequireRoom(1);
    records_.push_back(record);
}

void MSendInput::RequireRoom(std::uint64_t records) const {
    if (records > kMaxRecords - recordCount()) throw RuntimeError::OutOfMemory();
}

}  // namespace velmora

#pragma once
// The keystroke sender: turns a key sequence in the brace/modifier notation ("%{F4}" is
// Alt+F4) into keyboard events and injects them in one batch.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Keyboard.h"
#include "sendkeys/KeyTables.h"

namespace velmora {

class MSendInput {
public:
    explicit MSendInput(Keyboard& keyboard) : keyboard_(keyboard) {}

    // Parses `text` (UTF-8) and injects its events with one SendInput call; an empty sequence
    // sends nothing. `wait` is accepted for the callers' sake and has no effect. Throws
    // RuntimeError::Overflow for a repeat count beyond 32 bits and a RuntimeError for a
    // sequence of more than 65,536 events; nothing is sent then.
    void SendKeySequence(std::string_view text, bool wait);

private:
    void ParseToken();
    void ParseModifier(char16_t prefix);
    void ParseGroup();
    void ParseBraced();
    void ParseCharacter(char16_t character);
    void EmitKeyStroke(std::uint16_t virtualKey, bool shift, bool extended, bool ctrlAlt);
    void EmitUnicodeCharacter(char16_t codeUnit);
    void EmitModifierEvent(std::uint16_t virtualKey, bool keyUp);
    void Append(const KeyInputRecord& record);
    // Throws unless `records` more records fit into one batch.
    void RequireRoom(std::uint64_t records) const;
    std::size_t recordCount() const { return records_.size(); }

    Keyboard& keyboard_;
    std::optional<KeyTables> keyTables_;  // built on first use
    // The parse state of the call in progress.
    std::u16string text_;
    std::size_t parsePos_ = 0;  // 1-based position of the last code unit consumed
    std::vector<KeyInputRecord> records_;
    std::uint32_t keyboardLayout_ = 0;
    bool shiftPrefixHeld_ = false;  // a "+" prefix is in force
};

}  // namespace velmora

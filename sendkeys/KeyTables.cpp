#include "KeyTables.h"

namespace velmora {

namespace {

struct KeyName {
    std::string_view name;
    std::uint16_t virtualKey;
    bool extended;
};

// In the order the tables are filled; F1 to F16 follow, on consecutive virtual keys.
constexpr KeyName kKeyNames[] = {
    {"BACKSPACE", 0x08, false}, {"BS", 0x08, false}, {"BKSP", 0x08, false},
    {"BREAK", 0x13, true},
    {"CAPSLOCK", 0x14, false},
    {"DELETE", 0x2E, true}, {"DEL", 0x2E, true},
    {"DOWN", 0x28, true},
    {"END", 0x23, true},
    {"ENTER", 0x0D, false},
    {"ESC", 0x1B, false},
    {"HELP", 0x2F, false},
    {"HOME", 0x24, true},
    {"INS", 0x2D, true}, {"INSERT", 0x2D, true},
    {"LEFT", 0x25, true},
    {"NUMLOCK", 0x90, true},
    {"PGDN", 0x22, true},
    {"PGUP", 0x21, true},
    {"PAUSE", 0x13, false},
    {"PRINT", 0x2A, true},
    {"PRTSC", 0x2C, true}, {"PRTSCN", 0x2C, true},
    {"PRINTSCRN", 0x2C, true}, {"PRINTSCREEN", 0x2C, true},
    {"RIGHT", 0x27, true},
    {"SCROLLLOCK", 0x91, false},
    {"SELECT", 0x29, false},
    {"TAB", 0x09, false},
    {"UP", 0x26, true}};
constexpr std::uint16_t kVkF1 = 0x70;
constexpr int kFunctionKeys = 16;

}  // namespace

KeyTables BuildKeyTables() {
    KeyTables tables;
    for (const KeyName& key : kKeyNames) {
        tables.keyNames.emplace(key.name, key.virtualKey);
        if (key.extended) tables.extendedKeys.emplace(key.name);
    }
    for (int number = 1; number <= kFunctionKeys; ++number) {
        tables.keyNames.emplace("F" + std::to_string(number),
                                static_cast<std::uint16_t>(kVkF1 + number - 1));
    }
    return tables;
}

NamedKey KeyTables::Find(std::u16string_view word) const {
    std::string name;
    for (const char16_t c : word) {
        if (c >= 0x80) return {};  // every name is ASCII
        name += static_cast<char>(c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c);
    }
    const auto key = keyNames.find(name);
    if (key == keyNames.end()) return {};
    return {key->second, extendedKeys.contains(name)};
}

}  // namespace velmora

#pragma once
// The keyboard: the current layout's keys for characters, scan codes, the Caps Lock state, and
// injection of keyboard events into whatever window has the focus.

#include <cstdint>
#include <span>

namespace velmora {

// One keyboard event, laid out as the platform's 32-bit INPUT record for keyboard input.
struct KeyInputRecord {
    std::uint32_t type = 0;
    std::uint16_t virtualKey = 0;
    std::uint16_t scanCode = 0;  // or the UTF-16 code unit of a Unicode event
    std::uint32_t flags = 0;
    std::uint32_t time = 0;
    std::uint32_t extraInfo = 0;
    std::uint8_t padding[8] = {};

    friend bool operator==(const KeyInputRecord&, const KeyInputRecord&) = default;
};
static_assert(sizeof(KeyInputRecord) == 28);

// The Win32 values, under names of their own so that they never meet windows.h's macros.
inline constexpr std::uint32_t kInputKeyboard = 1;
inline constexpr std::uint32_t kKeyEventExtendedKey = 0x0001;
inline constexpr std::uint32_t kKeyEventKeyUp = 0x0002;
inline constexpr std::uint32_t kKeyEventUnicode = 0x0004;
inline constexpr std::uint16_t kVkReturn = 0x0D;
inline constexpr std::uint16_t kVkShift = 0x10;
inline constexpr std::uint16_t kVkControl = 0x11;
inline constexpr std::uint16_t kVkMenu = 0x12;  // Alt
inline constexpr std::uint16_t kVkCapital = 0x14;

class Keyboard {
public:
    virtual ~Keyboard() = default;

    // The keyboard layout of the calling thread.
    virtual std::uint32_t GetKeyboardLayout() = 0;
    // The key that types `character` in the current layout: the virtual key in the low byte,
    // the modifiers it needs in the high byte (1 Shift, 2 Ctrl, 4 Alt); -1 when it has none.
    virtual std::int16_t VkKeyScan(char16_t character) = 0;
    // The scan code of a virtual key in the given layout; 0 when it has none.
    virtual std::uint16_t MapVirtualKey(std::uint16_t virtualKey, std::uint32_t layout) = 0;
    virtual bool CapsLockOn() = 0;
    // Injects the events, in order, into the window that has the keyboard focus.
    virtual void SendInput(std::span<const KeyInputRecord> records) = 0;
};

}  // namespace velmora

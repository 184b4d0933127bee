#pragma once
// The keyboard through user32: layout, keys of characters, scan codes, Caps Lock, SendInput.

#include "platform/Keyboard.h"

namespace velmora::win32 {

class Win32Keyboard : public Keyboard {
public:
    std::uint32_t GetKeyboardLayout() override;
    std::int16_t VkKeyScan(char16_t character) override;
    std::uint16_t MapVirtualKey(std::uint16_t virtualKey, std::uint32_t layout) override;
    bool CapsLockOn() override;
    void SendInput(std::span<const KeyInputRecord> records) override;
};

}  // namespace velmora::win32

#pragma once
// The keyboard on Wayland: no program may type into another's window there, so nothing is
// injected. Close asks windows by id instead, and the form's own hotkeys come from the toolkit.

#include "platform/Keyboard.h"
#include "platform/RuntimeError.h"

namespace velmora::wayland {

class KeylessKeyboard : public Keyboard {
public:
    std::uint32_t GetKeyboardLayout() override { return 0; }
    std::int16_t VkKeyScan(char16_t) override { return -1; }
    std::uint16_t MapVirtualKey(std::uint16_t, std::uint32_t) override { return 0; }
    bool CapsLockOn() override { return false; }
    void SendInput(std::span<const KeyInputRecord>) override {
        throw RuntimeError::InvalidProcedureCall();
    }
};

}  // namespace velmora::wayland

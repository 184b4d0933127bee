#pragma once
// The keyboard on X11: the current keymap for characters and XTest for injected key events.

#include <memory>

#include "XConnection.h"
#include "platform/Keyboard.h"

namespace velmora::x11 {

class SpareKeycodes;

class X11Keyboard : public Keyboard {
public:
    explicit X11Keyboard(XConnection& connection);
    ~X11Keyboard() override;

    std::uint32_t GetKeyboardLayout() override;
    std::int16_t VkKeyScan(char16_t character) override;
    std::uint16_t MapVirtualKey(std::uint16_t virtualKey, std::uint32_t layout) override;
    bool CapsLockOn() override;
    void SendInput(std::span<const KeyInputRecord> records) override;

private:
    XConnection& connection_;
    std::unique_ptr<SpareKeycodes> spares_;
};

}  // namespace velmora::x11

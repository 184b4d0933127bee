#pragma once
// Key chords typed as a physical keyboard of the compositor's seat would type them, through the
// virtual-keyboard protocol: they reach whichever window has the keyboard focus.

#include <memory>
#include <string>

namespace e2e {

class VirtualKeyboard {
public:
    // Connects to the session's compositor ($WAYLAND_DISPLAY) and gives it a keyboard with the
    // default xkb keymap; throws when the compositor offers no virtual keyboards.
    VirtualKeyboard();
    ~VirtualKeyboard();
    VirtualKeyboard(const VirtualKeyboard&) = delete;
    VirtualKeyboard& operator=(const VirtualKeyboard&) = delete;

    // Presses and releases a chord like "ctrl+shift+h" or "Return": modifiers (ctrl, shift,
    // alt) down, the key down and up, modifiers up. Throws for a key the keymap lacks.
    void Type(const std::string& chord);

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

}  // namespace e2e

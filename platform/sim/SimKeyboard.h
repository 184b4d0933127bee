#pragma once
// A model keyboard: a US layout, or a German one with AltGr characters; Caps Lock; and every
// batch of injected events, handed on to whoever reacts to them.

#include <functional>
#include <vector>

#include "Recorder.h"
#include "platform/Keyboard.h"

namespace velmora::sim {

enum class Layout { US, German };

// Whether a batch presses F4 while Alt is held.
bool PressesAltF4(const std::vector<KeyInputRecord>& batch);

class SimKeyboard : public Keyboard {
public:
    explicit SimKeyboard(Recorder& recorder) : recorder_(recorder) {}

    Layout layout = Layout::US;
    bool capsLock = false;
    // Every SendInput batch, in order.
    std::vector<std::vector<KeyInputRecord>> batches;
    // Runs after each batch has been recorded (the desktop's reaction to the keys).
    std::function<void(const std::vector<KeyInputRecord>&)> onInput;

    std::uint32_t GetKeyboardLayout() override;
    std::int16_t VkKeyScan(char16_t character) override;
    std::uint16_t MapVirtualKey(std::uint16_t virtualKey, std::uint32_t layout) override;
    bool CapsLockOn() override { return capsLock; }
    void SendInput(std::span<const KeyInputRecord> records) override;

private:
    Recorder& recorder_;
};

}  // namespace velmora::sim

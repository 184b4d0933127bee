#include "Win32Keyboard.h"

#include "WindowsApi.h"

#include <vector>

namespace velmora::win32 {

static_assert(kInputKeyboard == INPUT_KEYBOARD && kKeyEventExtendedKey == KEYEVENTF_EXTENDEDKEY &&
              kKeyEventKeyUp == KEYEVENTF_KEYUP && kKeyEventUnicode == KEYEVENTF_UNICODE);
#if defined(__i386__)
// In a 32-bit process the platform's record is exactly the core's.
static_assert(sizeof(INPUT) == sizeof(KeyInputRecord));
#endif

namespace {

HKL ToLayout(std::uint32_t layout) {
    return reinterpret_cast<HKL>(static_cast<LONG_PTR>(static_cast<std::int32_t>(layout)));
}

}  // namespace

std::uint32_t Win32Keyboard::GetKeyboardLayout() {
    return static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(::GetKeyboardLayout(0)));
}

std::int16_t Win32Keyboard::VkKeyScan(char16_t character) {
    return static_cast<std::int16_t>(::VkKeyScanW(static_cast<wchar_t>(character)));
}

std::uint16_t Win32Keyboard::MapVirtualKey(std::uint16_t virtualKey, std::uint32_t layout) {
    return static_cast<std::uint16_t>(::MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, ToLayout(layout)));
}

bool Win32Keyboard::CapsLockOn() { return (::GetKeyState(VK_CAPITAL) & 1) != 0; }

void Win32Keyboard::SendInput(std::span<const KeyInputRecord> records) {
    std::vector<INPUT> inputs(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        inputs[i].type = records[i].type;
        inputs[i].ki.wVk = records[i].virtualKey;
        inputs[i].ki.wScan = records[i].scanCode;
        inputs[i].ki.dwFlags = records[i].flags;
        inputs[i].ki.time = records[i].time;
        inputs[i].ki.dwExtraInfo = records[i].extraInfo;
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace velmora::win32

#pragma once
// Windows virtual-key codes and X keysyms: the keys of a US keyboard named both ways.

#include <cstdint>

namespace velmora::x11 {

// The keysym a virtual key stands for; 0 when none.
std::uint32_t KeysymOfVirtualKey(std::uint16_t virtualKey);
// The virtual key of the key whose unshifted keysym is `keysym`; 0 when none.
std::uint16_t VirtualKeyOfKeysym(std::uint32_t keysym);
// The keysym that types a character: Latin-1 keysyms are the code point, the rest are
// Unicode keysyms.
std::uint32_t KeysymOfCharacter(char32_t character);

}  // namespace velmora::x11

#include "VirtualKeys.h"

#include <X11/keysym.h>

#include <array>
#include <utility>

namespace velmora::x11 {

namespace {

constexpr std::uint32_t kUnicodeKeysymBase = 0x01000000;

// Named keys whose virtual key and keysym are not derived arithmetically.
constexpr std::array<std::pair<std::uint16_t, std::uint32_t>, 53> kNamedKeys{{
    {0x08, XK_BackSpace},    {0x09, XK_Tab},         {0x0D, XK_Return},
    {0x10, XK_Shift_L},      {0x11, XK_Control_L},   {0x12, XK_Alt_L},
    {0x13, XK_Pause},        {0x14, XK_Caps_Lock},   {0x1B, XK_Escape},
    {0x20, XK_space},        {0x21, XK_Prior},       {0x22, XK_Next},
    {0x23, XK_End},          {0x24, XK_Home},        {0x25, XK_Left},
    {0x26, XK_Up},           {0x27, XK_Right},       {0x28, XK_Down},
    {0x2C, XK_Print},        {0x2D, XK_Insert},      {0x2E, XK_Delete},
    {0x2F, XK_Help},         {0x5B, XK_Super_L},     {0x5C, XK_Super_R},
    {0x5D, XK_Menu},         {0x6A, XK_KP_Multiply}, {0x6B, XK_KP_Add},
    {0x6C, XK_KP_Separator}, {0x6D, XK_KP_Subtract}, {0x6E, XK_KP_Decimal},
    {0x6F, XK_KP_Divide},    {0x90, XK_Num_Lock},    {0x91, XK_Scroll_Lock},
    {0xA0, XK_Shift_L},      {0xA1, XK_Shift_R},     {0xA2, XK_Control_L},
    {0xA3, XK_Control_R},    {0xA4, XK_Alt_L},       {0xA5, XK_ISO_Level3_Shift},
    {0xBA, XK_semicolon},    {0xBB, XK_equal},       {0xBC, XK_comma},
    {0xBD, XK_minus},        {0xBE, XK_period},      {0xBF, XK_slash},
    {0xC0, XK_grave},        {0xDB, XK_bracketleft}, {0xDC, XK_backslash},
    {0xDD, XK_bracketright}, {0xDE, XK_apostrophe},  {0xE2, XK_less},
    {0x03, XK_Cancel},       {0x0C, XK_Clear},
}};

}  // namespace

std::uint32_t KeysymOfVirtualKey(std::uint16_t virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return XK_a + (virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9') return XK_0 + (virtualKey - '0');
    if (virtualKey >= 0x60 && virtualKey <= 0x69) return XK_KP_0 + (virtualKey - 0x60);
    if (virtualKey >= 0x70 && virtualKey <= 0x87) return XK_F1 + (virtualKey - 0x70);
    for (const auto& [key, keysym] : kNamedKeys) {
        if (key == virtualKey) return keysym;
    }
    return 0;
}

std::uint16_t VirtualKeyOfKeysym(std::uint32_t keysym) {
    if (keysym >= XK_a && keysym <= XK_z) return static_cast<std::uint16_t>('A' + (keysym - XK_a));
    if (keysym >= XK_0 && keysym <= XK_9) return static_cast<std::uint16_t>('0' + (keysym - XK_0));
    for (const auto& [key, named] : kNamedKeys) {
        if (named == keysym) return key;
    }
    return 0;
}

std::uint32_t KeysymOfCharacter(char32_t character) {
    if ((character >= 0x20 && character <= 0x7E) || (character >= 0xA0 && character <= 0xFF)) {
        return character;
    }
    return kUnicodeKeysymBase | character;
}

}  // namespace velmora::x11

#include "X11Keyboard.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>

#include "SpareKeycodes.h"
#include "VirtualKeys.h"
#include "XState.h"

namespace velmora::x11 {

namespace {

// The evdev keycodes X uses are the kernel's scan codes plus 8.
constexpr unsigned kEvdevOffset = 8;
// Shift levels of a key in the first group: plain, Shift, AltGr, Shift+AltGr.
constexpr int kLevels = 4;
// VkKeyScan's modifier byte for each level (AltGr is Ctrl+Alt).
constexpr std::int16_t kLevelModifiers[kLevels] = {0, 1, 6, 7};

std::uint32_t CurrentGroup(::Display* display) {
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    return state.group;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

X11Keyboard::X11Keyboard(XConnection& connection)
    : connection_(connection), spares_(std::make_unique<SpareKeycodes>(connection.state())) {}

X11Keyboard::~X11Keyboard() = default;

std::uint32_t X11Keyboard::GetKeyboardLayout() { return CurrentGroup(connection_.state().display); }

std::int16_t X11Keyboard::VkKeyScan(char16_t character) {
    ::Display* display = connection_.state().display;
    const KeySym wanted = KeysymOfCharacter(character);
    const KeyCode code = XKeysymToKeycode(display, wanted);
    if (code == 0) return -1;
    const unsigned group = CurrentGroup(display);
    const std::uint16_t virtualKey =
        VirtualKeyOfKeysym(static_cast<std::uint32_t>(XkbKeycodeToKeysym(display, code, 0, 0)));
    if (virtualKey == 0) return -1;
    for (int level = 0; level < kLevels; ++level) {
        if (XkbKeycodeToKeysym(display, code, group, level) == wanted) {
            return static_cast<std::int16_t>((kLevelModifiers[level] << 8) | virtualKey);
        }
    }
    return -1;
}

std::uint16_t X11Keyboard::MapVirtualKey(std::uint16_t virtualKey, std::uint32_t) {
    const std::uint32_t keysym = KeysymOfVirtualKey(virtualKey);
    if (keysym == 0) return 0;
    const KeyCode code = XKeysymToKeycode(connection_.state().display, keysym);
    return code >= kEvdevOffset ? static_cast<std::uint16_t>(code - kEvdevOffset) : 0;
}

bool X11Keyboard::CapsLockOn() {
    XkbStateRec state{};
    XkbGetState(connection_.state().display, XkbUseCoreKbd, &state);
    return (state.locked_mods & LockMask) != 0;
}

void X11Keyboard::SendInput(std::span<const KeyInputRecord> records) {
    XState& x = connection_.state();
    // Every record could need a keycode of its own; the previous batches' events have been
    // delivered by now, so their keycodes can be taken back.
    spares_->MakeRoom(records.size());
    char16_t highSurrogate = 0;  // 0: none pending
    for (const KeyInputRecord& record : records) {
        if (record.type != kInputKeyboard) continue;
        const bool up = (record.flags & kKeyEventKeyUp) != 0;
        unsigned code = 0;
        if (record.flags & kKeyEventUnicode) {
            const auto unit = static_cast<char16_t>(record.scanCode);
            char32_t character = unit;
            if (IsHighSurrogate(unit)) {
                // The pair is typed on the low half's events.
                highSurrogate = unit;
                continue;
            }
            if (IsLowSurrogate(unit) && highSurrogate != 0) {
                character = 0x10000 + ((highSurrogate - 0xD800) << 10) + (unit - 0xDC00);
                if (up) highSurrogate = 0;
            }
            const KeySym keysym = KeysymOfCharacter(character);
            const KeyCode mapped = XKeysymToKeycode(x.display, keysym);
            // A key that types it only with modifiers would type something else here.
            code = mapped != 0 && XkbKeycodeToKeysym(x.display, mapped, 0, 0) == keysym
                       ? mapped
                       : spares_->Lend(static_cast<std::uint32_t>(keysym));
        } else if (const std::uint32_t keysym = KeysymOfVirtualKey(record.virtualKey)) {
            // A key the keymap lacks (a trimmed or remote keymap) is typed on a spare keycode.
            code = XKeysymToKeycode(x.display, keysym);
            if (code == 0) code = spares_->Lend(keysym);
        }
        if (code == 0) continue;
        XTestFakeKeyEvent(x.display, code, up ? False : True, CurrentTime);
    }
    XFlush(x.display);
}

}  // namespace velmora::x11

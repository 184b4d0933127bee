#include "VirtualKeyboard.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/wayland/WaylandOwned.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"

namespace e2e {

namespace {

// Evdev key codes are xkb's less 8.
constexpr xkb_keycode_t kEvdevOffset = 8;

using velmora::wayland::Owned;
using XkbContext = Owned<xkb_context, xkb_context_unref>;
using XkbKeymap = Owned<xkb_keymap, xkb_keymap_unref>;

std::uint32_t Now() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// A file holding the keymap's text, NUL included, as the protocol passes it.
int KeymapFile(const std::string& text) {
    const int fd = memfd_create("velmora-e2e-keymap", MFD_CLOEXEC);
    if (fd < 0) throw std::runtime_error("no memory file for the keymap");
    const char* at = text.c_str();
    std::size_t left = text.size() + 1;
    while (left > 0) {
        const ssize_t written = write(fd, at, left);
        if (written <= 0) {
            close(fd);
            throw std::runtime_error("the keymap cannot be written");
        }
        at += written;
        left -= static_cast<std::size_t>(written);
    }
    return fd;
}

}  // namespace

// Members go in the reverse order: the keyboard first, the display last.
struct VirtualKeyboard::Connection {
    velmora::wayland::Display display;
    velmora::wayland::Registry registry;
    Owned<wl_seat, wl_seat_destroy> seat;
    Owned<zwp_virtual_keyboard_manager_v1, zwp_virtual_keyboard_manager_v1_destroy> manager;
    Owned<zwp_virtual_keyboard_v1, zwp_virtual_keyboard_v1_destroy> keyboard;
    XkbContext context{xkb_context_new(XKB_CONTEXT_NO_FLAGS)};
    XkbKeymap keymap;

    static void Global(void* data, wl_registry* registry, std::uint32_t name,
                       const char* interface, std::uint32_t) {
        auto* self = static_cast<Connection*>(data);
        if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self->seat) {
            self->seat.reset(
                static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1)));
        } else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
            self->manager.reset(static_cast<zwp_virtual_keyboard_manager_v1*>(
                wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1)));
        }
    }
    static void GlobalRemoved(void*, wl_registry*, std::uint32_t) {}

    // The key that types `keysym` on the keymap's first level; 0 when none does.
    xkb_keycode_t KeyFor(xkb_keysym_t keysym) const {
        for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap.get());
             key <= xkb_keymap_max_keycode(keymap.get()); ++key) {
            const xkb_keysym_t* syms = nullptr;
            const int count = xkb_keymap_key_get_syms_by_level(keymap.get(), key, 0, 0, &syms);
            for (int i = 0; i < count; ++i) {
                if (syms[i] == keysym) return key;
            }
        }
        return 0;
    }

    void Key(xkb_keycode_t key, bool down) {
        zwp_virtual_keyboard_v1_key(keyboard.get(), Now(), key - kEvdevOffset,
                                    down ? WL_KEYBOARD_KEY_STATE_PRESSED
                                         : WL_KEYBOARD_KEY_STATE_RELEASED);
    }
};

VirtualKeyboard::VirtualKeyboard() : connection_(std::make_unique<Connection>()) {
    Connection& c = *connection_;
    c.display.reset(wl_display_connect(nullptr));
    if (!c.display) throw std::runtime_error("no Wayland compositor to type into");
    static const wl_registry_listener listener{Connection::Global, Connection::GlobalRemoved};
    c.registry.reset(wl_display_get_registry(c.display.get()));
    wl_registry_add_listener(c.registry.get(), &listener, &c);
    wl_display_roundtrip(c.display.get());
    if (!c.seat || !c.manager) {
        throw std::runtime_error("the compositor offers no virtual keyboard");
    }
    c.keyboard.reset(
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(c.manager.get(), c.seat.get()));

    // The default rules, model and layout, as the compositor's own keyboard has them.
    const xkb_rule_names names{};
    c.keymap.reset(xkb_keymap_new_from_names(c.context.get(), &names,
                                             XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!c.keymap) throw std::runtime_error("no default xkb keymap");
    Owned<char, free> text(
        xkb_keymap_get_as_string(c.keymap.get(), XKB_KEYMAP_FORMAT_TEXT_V1));
    const std::string keymap(static_cast<const char*>(text.get()));
    const int fd = KeymapFile(keymap);
    zwp_virtual_keyboard_v1_keymap(c.keyboard.get(), WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                   static_cast<std::uint32_t>(keymap.size() + 1));
    close(fd);
    if (wl_display_roundtrip(c.display.get()) < 0) {
        throw std::runtime_error("the compositor refused the virtual keyboard");
    }
}

VirtualKeyboard::~VirtualKeyboard() = default;

void VirtualKeyboard::Type(const std::string& chord) {
    Connection& c = *connection_;
    struct Modifier {
        const char* word;
        const char* keysym;
        const char* xkbName;
    };
    static constexpr Modifier kModifiers[] = {{"ctrl", "Control_L", XKB_MOD_NAME_CTRL},
                                              {"shift", "Shift_L", XKB_MOD_NAME_SHIFT},
                                              {"alt", "Alt_L", XKB_MOD_NAME_ALT}};
    std::vector<xkb_keycode_t> held;
    std::uint32_t mask = 0;
    std::string rest = chord;
    for (std::size_t plus; (plus = rest.find('+')) != std::string::npos && plus > 0;) {
        const std::string word = rest.substr(0, plus);
        rest.erase(0, plus + 1);
        for (const Modifier& modifier : kModifiers) {
            if (word != modifier.word) continue;
            held.push_back(c.KeyFor(xkb_keysym_from_name(modifier.keysym, XKB_KEYSYM_NO_FLAGS)));
            mask |= 1u << xkb_keymap_mod_get_index(c.keymap.get(), modifier.xkbName);
        }
    }
    xkb_keysym_t keysym = xkb_keysym_from_name(rest.c_str(), XKB_KEYSYM_NO_FLAGS);
    if (keysym == XKB_KEY_NoSymbol) {
        keysym = xkb_keysym_from_name(rest.c_str(), XKB_KEYSYM_CASE_INSENSITIVE);
    }
    const xkb_keycode_t key = c.KeyFor(keysym);
    if (key == 0 || std::find(held.begin(), held.end(), 0u) != held.end()) {
        throw std::runtime_error("no key for " + chord);
    }
    for (const xkb_keycode_t modifier : held) c.Key(modifier, true);
    if (mask) zwp_virtual_keyboard_v1_modifiers(c.keyboard.get(), mask, 0, 0, 0);
    c.Key(key, true);
    c.Key(key, false);
    for (auto at = held.rbegin(); at != held.rend(); ++at) c.Key(*at, false);
    if (mask) zwp_virtual_keyboard_v1_modifiers(c.keyboard.get(), 0, 0, 0, 0);
    wl_display_roundtrip(c.display.get());
}

}  // namespace e2e

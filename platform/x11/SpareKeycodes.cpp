#include "SpareKeycodes.h"

#include <X11/XKBlib.h>

#include <algorithm>
#include <memory>

namespace velmora::x11 {

namespace {

struct FreeX {
    void operator()(void* data) const { XFree(data); }
};

}  // namespace

SpareKeycodes::SpareKeycodes(XState& x) : x_(x) {
    int first = 0, last = 0, perKey = 0;
    XDisplayKeycodes(x.display, &first, &last);
    const std::unique_ptr<KeySym, FreeX> map(
        XGetKeyboardMapping(x.display, static_cast<KeyCode>(first), last - first + 1, &perKey));
    if (!map) return;
    for (int code = last; code >= first; --code) {
        const KeySym* syms = map.get() + (code - first) * perKey;
        if (std::all_of(syms, syms + perKey, [](KeySym s) { return s == NoSymbol; })) {
            free_.push_back(static_cast<unsigned>(code));
        }
    }
}

SpareKeycodes::~SpareKeycodes() { RestoreAll(); }

void SpareKeycodes::RestoreAll() {
    for (const auto& [keysym, code] : lent_) {
        KeySym empty = NoSymbol;
        XChangeKeyboardMapping(x_.display, static_cast<int>(code), 1, &empty, 1);
        free_.push_back(code);
    }
    lent_.clear();
    XFlush(x_.display);
}

void SpareKeycodes::MakeRoom(std::size_t needed) {
    if (free_.size() < needed) RestoreAll();
}

unsigned SpareKeycodes::Lend(std::uint32_t keysym) {
    if (const auto at = lent_.find(keysym); at != lent_.end()) return at->second;
    if (free_.empty()) return 0;
    const unsigned code = free_.back();
    free_.pop_back();
    KeySym both[2] = {keysym, keysym};
    XChangeKeyboardMapping(x_.display, static_cast<int>(code), 2, both, 1);
    XSync(x_.display, False);
    lent_[keysym] = code;
    return code;
}

}  // namespace velmora::x11

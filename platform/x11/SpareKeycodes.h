#pragma once
// Keycodes the keymap leaves empty, lent out for characters no key types. Every lent keycode
// gets its empty mapping back when this goes away.

#include <map>
#include <vector>

#include "XState.h"

namespace velmora::x11 {

class SpareKeycodes {
public:
    explicit SpareKeycodes(XState& x);
    ~SpareKeycodes();
    SpareKeycodes(const SpareKeycodes&) = delete;
    SpareKeycodes& operator=(const SpareKeycodes&) = delete;

    // A keycode that types `keysym` unshifted; 0 when every spare keycode is in use.
    unsigned Lend(std::uint32_t keysym);

private:
    XState& x_;
    std::vector<unsigned> free_;
    std::map<std::uint32_t, unsigned> lent_;
};

}  // namespace velmora::x11

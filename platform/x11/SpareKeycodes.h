#pragma once
// Keycodes the keymap leaves empty, lent out for characters no key types. A lent keycode keeps
// its keysym until the lender is recycled or goes away: the window that receives the key
// event looks the keysym up only when it gets to the event, possibly much later.

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
    // Gives every lent keycode its empty mapping back when fewer than `needed` are free.
    void MakeRoom(std::size_t needed);

private:
    void RestoreAll();

    XState& x_;
    std::vector<unsigned> free_;
    std::map<std::uint32_t, unsigned> lent_;
};

}  // namespace velmora::x11

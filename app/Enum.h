#pragma once
// Enumeration of the desktop's open windows: visible, bordered, titled top-level windows in
// z-order from the top, never the program's own.

#include <array>
#include <cstdint>
#include <string>

#include "platform/WindowSystem.h"

namespace velmora {

struct Globals;

struct WindowEntry {
    std::string Title;  // UTF-8; empty when the entry is not in use
    Hwnd Handle = 0;
};

class Enum {
public:
    static constexpr int kTableSize = 1001;
    using Table = std::array<WindowEntry, kTableSize>;

    Enum(WindowSystem& windows, const Globals& globals) : windows_(windows), globals_(globals) {}

    bool IsListable(Hwnd window);
    // Resets and refills OpenWindows; returns how many entries were filled. A listable window
    // beyond the table's last entry raises RuntimeError::SubscriptOutOfRange, leaving the
    // entries filled so far.
    std::int16_t GetOpenWindows(Hwnd ownWindow);

    const Table& OpenWindows() const { return openWindows_; }

private:
    WindowSystem& windows_;
    const Globals& globals_;
    Table openWindows_;
};

}  // namespace velmora

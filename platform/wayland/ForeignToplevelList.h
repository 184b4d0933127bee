#pragma once
// The toplevels a wlroots compositor announces through foreign-toplevel management, kept as its
// events arrive: each handle's changes are applied together at its `done`, and the listing
// stands in for the z-order (most recently activated first, then announcement order).

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WindowSystem.h"

namespace velmora::wayland {

// A toplevel's states, as bits.
inline constexpr unsigned kToplevelMaximized = 1;
inline constexpr unsigned kToplevelMinimized = 2;
inline constexpr unsigned kToplevelActivated = 4;
inline constexpr unsigned kToplevelFullscreen = 8;
inline constexpr unsigned kToplevelKeepAbove = 16;
inline constexpr unsigned kToplevelSkipTaskbar = 32;  // hidden from the task bar

struct Toplevel {
    Hwnd id = 0;  // the list's own id for the handle, never reused within a run
    std::string title;
    std::string appId;
    unsigned states = 0;
    std::uint32_t pid = 0;  // 0: the compositor does not tell
};

// The program's own window as the compositor shows it: its app id and title, and its process
// where the compositor tells processes (so that another instance's window is not taken for it).
// Without an app id, by process and title alone: an XWayland window's app id is what its
// toolkit makes of it, which differs between Qt releases.
struct OwnWindow {
    std::string appId;
    std::string title;
    std::uint32_t pid = 0;
    bool Is(const Toplevel& toplevel) const {
        if (appId.empty()) return pid != 0 && toplevel.pid == pid && toplevel.title == title;
        if (pid != 0 && toplevel.pid != 0 && toplevel.pid != pid) return false;
        return toplevel.appId == appId && toplevel.title == title;
    }
};

class ForeignToplevelList {
public:
    // A handle the compositor announced; its id.
    Hwnd Announce();
    // Changes to a handle, applied at its next Done; ignored for an id the list does not hold.
    void SetTitle(Hwnd id, std::string_view title);
    void SetAppId(Hwnd id, std::string appId);
    void SetStates(Hwnd id, unsigned states);
    void SetPid(Hwnd id, std::uint32_t pid);
    void Done(Hwnd id);
    // The toplevel is gone; its id is never given out again.
    void Closed(Hwnd id);
    // A whole listing from a compositor that is asked rather than told, each toplevel known by
    // the compositor's own key (their `id`s are not read): toplevels with a known key keep
    // their ids, new ones are announced, and the ones missing are closed.
    void TakeListing(const std::vector<std::pair<std::uint64_t, Toplevel>>& listing);
    // The compositor's key of a toplevel taken from a listing; 0 when there is none.
    std::uint64_t KeyOf(Hwnd id) const;

    // The toplevel as of its last Done; nullptr when it has had none or has closed.
    const Toplevel* Find(Hwnd id) const;
    // Every titled toplevel but `own`, most recently activated first, then the ones never
    // activated in the order they were announced.
    std::vector<Toplevel> Listed(const OwnWindow& own) const;
    // The activated toplevel (the most recently activated when several are); 0 when none is.
    Hwnd Activated() const;

private:
    struct Entry {
        Toplevel applied;
        Toplevel pending;
        bool done = false;
        std::uint64_t activatedAt = 0;  // 0: never activated while the list watched
    };
    // By id, which is announcement order.
    std::map<Hwnd, Entry> entries_;
    std::map<std::uint64_t, Hwnd> keys_;  // for TakeListing
    Hwnd nextId_ = 1;
    std::uint64_t activations_ = 0;
};

}  // namespace velmora::wayland

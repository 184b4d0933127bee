#pragma once
// The windows of one walk over the z-order, as they stood when it began. A backend that reads
// the whole desktop at once answers GetWindow's kGwHwndNext and the walk's other questions from
// it, and drops it when the walk ends.

#include <cstddef>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "WindowSystem.h"

namespace velmora {

// `Id` names the member (or function) that gives a Window's handle.
template <typename Window, auto Id>
class WalkSnapshot {
public:
    // Holds `windows`, top first; the first one's handle, 0 when there is none. A handle seen
    // before and handle 0 (which ends a walk) are passed over: either would cut the walk short.
    Hwnd Begin(std::vector<Window> windows) {
        Clear();
        for (Window& window : windows) {
            const Hwnd handle = HandleOf(window);
            if (handle == 0 || !index_.emplace(handle, windows_.size()).second) continue;
            windows_.push_back(std::move(window));
        }
        return windows_.empty() ? 0 : HandleOf(windows_.front());
    }
    // The handle of the window below `window`; 0 at the end or for a window not in the walk.
    Hwnd Next(Hwnd window) const {
        const auto at = index_.find(window);
        if (at == index_.end() || at->second + 1 >= windows_.size()) return 0;
        return HandleOf(windows_[at->second + 1]);
    }
    // The window as the walk took it; nullptr when it is not in the walk.
    const Window* Find(Hwnd window) const {
        const auto at = index_.find(window);
        return at == index_.end() ? nullptr : &windows_[at->second];
    }
    void Clear() {
        windows_.clear();
        index_.clear();
    }

private:
    static Hwnd HandleOf(const Window& window) { return static_cast<Hwnd>(std::invoke(Id, window)); }

    std::vector<Window> windows_;
    std::unordered_map<Hwnd, std::size_t> index_;
};

}  // namespace velmora

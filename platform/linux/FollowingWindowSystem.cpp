#include "FollowingWindowSystem.h"

namespace velmora::session {

namespace {

constexpr Hwnd kPreferredMark = 0x80000000u;

}  // namespace

FollowingWindowSystem::FollowingWindowSystem(
    WindowSystem& fallback, std::function<std::unique_ptr<WindowSystem>()> connectPreferred,
    std::function<bool()> preferredThere)
    : fallback_(fallback),
      connectPreferred_(std::move(connectPreferred)),
      preferredThere_(std::move(preferredThere)) {}

FollowingWindowSystem::~FollowingWindowSystem() = default;

WindowSystem& FollowingWindowSystem::Owner(Hwnd window) const {
    return (window & kPreferredMark) != 0 && preferred_ ? *preferred_ : fallback_;
}

Hwnd FollowingWindowSystem::Plain(Hwnd window) const { return window & ~kPreferredMark; }

Hwnd FollowingWindowSystem::Marked(const WindowSystem& system, Hwnd window) const {
    return window != 0 && &system != &fallback_ ? window | kPreferredMark : window;
}

Hwnd FollowingWindowSystem::GetWindow(Hwnd window, unsigned command) {
    if (command == kGwHwndFirst) {
        if (!preferred_) {
            preferred_ = connectPreferred_();
            usePreferred_ = preferred_ != nullptr;
        } else {
            usePreferred_ = preferredThere_();
        }
        WindowSystem& current = Current();
        return Marked(current, current.GetWindow(Plain(window), kGwHwndFirst));
    }
    WindowSystem& owner = Owner(window);
    return Marked(owner, owner.GetWindow(Plain(window), command));
}

std::uint32_t FollowingWindowSystem::WindowStyle(Hwnd window) {
    return Owner(window).WindowStyle(Plain(window));
}

std::string FollowingWindowSystem::WindowTitle(Hwnd window) {
    return Owner(window).WindowTitle(Plain(window));
}

// A switch happens only as a walk begins, so the current system is the walk's.
void FollowingWindowSystem::EndWalk() { Current().EndWalk(); }

void FollowingWindowSystem::ShowWindow(Hwnd window, int command) {
    Owner(window).ShowWindow(Plain(window), command);
}

void FollowingWindowSystem::ActivateWindow(std::string_view title, Hwnd preferred) {
    WindowSystem& owner = preferred != 0 ? Owner(preferred) : Current();
    owner.ActivateWindow(title, Plain(preferred));
}

Hwnd FollowingWindowSystem::GetForegroundWindow() {
    WindowSystem& current = Current();
    return Marked(current, current.GetForegroundWindow());
}

void FollowingWindowSystem::SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned flags) {
    fallback_.SetWindowPos(window, insertAfter, flags);
}

void FollowingWindowSystem::RequestClose(Hwnd window) {
    Owner(window).RequestClose(Plain(window));
}

}  // namespace velmora::session

#pragma once
// The preferred way to the other windows whenever it is there, a fall-back otherwise, followed
// as it comes and goes: on GNOME's Wayland session the project's Shell extension, which the
// user may enable after the program started and the shell disables on its lock screen, and X11
// meanwhile. The choice is made afresh as each walk of the windows begins. Every handle goes
// back to the window system that gave it out, so a window listed before a switch is never
// taken for another one.

#include <functional>
#include <memory>

#include "platform/WindowSystem.h"

namespace velmora::session {

class FollowingWindowSystem final : public WindowSystem {
public:
    // `connectPreferred` gives the preferred window system, nullptr while it is not there;
    // `preferredThere` tells whether it is there now. The one given is kept when it goes, so
    // that its handles still name the same windows when it comes back. The fall-back's handles
    // must leave the top bit clear (X11 window ids use 29 bits): it marks the preferred's.
    FollowingWindowSystem(WindowSystem& fallback,
                          std::function<std::unique_ptr<WindowSystem>()> connectPreferred,
                          std::function<bool()> preferredThere);
    ~FollowingWindowSystem() override;

    Hwnd GetWindow(Hwnd window, unsigned command) override;
    std::uint32_t WindowStyle(Hwnd window) override;
    std::string WindowTitle(Hwnd window) override;
    void EndWalk() override;
    void ShowWindow(Hwnd window, int command) override;
    void ActivateWindow(std::string_view title, Hwnd preferred) override;
    Hwnd GetForegroundWindow() override;
    // The program's own window is the fall-back's (on GNOME an XWayland window), whichever way
    // reaches the others.
    void SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned flags) override;
    bool ClosesByRequest() const override { return Current().ClosesByRequest(); }
    void RequestClose(Hwnd window) override;
    bool Offers(DesktopCommand command) const override { return Current().Offers(command); }
    std::string DesktopName() const override { return Current().DesktopName(); }

private:
    WindowSystem& Current() const { return usePreferred_ ? *preferred_ : fallback_; }
    // The window system that gave out `window`, and the handle as that one knows it.
    WindowSystem& Owner(Hwnd window) const;
    Hwnd Plain(Hwnd window) const;
    Hwnd Marked(const WindowSystem& system, Hwnd window) const;

    WindowSystem& fallback_;
    std::function<std::unique_ptr<WindowSystem>()> connectPreferred_;
    std::function<bool()> preferredThere_;
    std::unique_ptr<WindowSystem> preferred_;
    bool usePreferred_ = false;
};

}  // namespace velmora::session

#pragma once
// Other programs' windows on wlroots compositors (river, labwc, Wayfire, Hyprland, sway...)
// through foreign-toplevel management: the toplevels they announce, and the requests a taskbar
// sends; on KWin through its own window-management protocol. The protocols have no stacking
// order: the most recently activated comes first. Where the compositor has no hidden state,
// Hide minimizes; where it keeps windows above others, the program's own can be kept on top.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ForeignToplevelList.h"
#include "ForeignToplevelWire.h"
#include "platform/WalkSnapshot.h"
#include "platform/WindowSystem.h"

namespace velmora::wayland {

class ForeignToplevelWindowSystem : public WindowSystem {
public:
    // Over `wire` (ConnectWlrToplevels gives the session compositor's). `own` is the program's
    // window: never listed, activated or closed.
    ForeignToplevelWindowSystem(std::unique_ptr<ForeignToplevelWire> wire, OwnWindow own);
    ~ForeignToplevelWindowSystem() override;

    Hwnd GetWindow(Hwnd window, unsigned command) override;
    std::uint32_t WindowStyle(Hwnd window) override;
    std::string WindowTitle(Hwnd window) override;
    void EndWalk() override;
    void ShowWindow(Hwnd window, int command) override;
    void ActivateWindow(std::string_view title, Hwnd preferred) override;
    Hwnd GetForegroundWindow() override;
    // Keeps the program's own window above the others (kHwndTopmost) or not (kHwndBottom);
    // throws where the compositor does not offer it.
    void SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned flags) override;
    // Close asks the compositor to close the toplevel by its handle; no key is ever typed.
    bool ClosesByRequest() const override { return true; }
    void RequestClose(Hwnd window) override;
    bool Offers(DesktopCommand command) const override {
        return command != DesktopCommand::KeepOnTop ||
               wire_->Offers(ToplevelRequest::SetKeepAbove);
    }
    std::string DesktopName() const override { return desktopName_; }

private:
    // The toplevel: from the walk's snapshot while a walk runs, else as the compositor has it
    // now; nullptr when it is gone.
    const Toplevel* Current(Hwnd window);
    void PlaceOwnWindows();

    std::unique_ptr<ForeignToplevelWire> wire_;
    OwnWindow own_;
    std::string desktopName_;
    // The listing taken at the start of a walk; dropped at its end.
    WalkSnapshot<Toplevel, &Toplevel::id> walk_;
    // Keep-on-top of the program's own window, asked for and not yet placed.
    std::optional<bool> ownOnTopPending_;
};

}  // namespace velmora::wayland

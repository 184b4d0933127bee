#pragma once
// Other programs' windows on sway, through its IPC: the views of its layout tree, and commands
// on them by container id.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SwayConnection.h"
#include "SwayTree.h"
#include "platform/WalkSnapshot.h"
#include "platform/WindowSystem.h"

namespace velmora::wayland {

class SwayWindowSystem : public WindowSystem {
public:
    // The program's own views are those of process `ownPid`; they are never listed, activated
    // or closed, and keep-on-top acts on them.
    SwayWindowSystem(SwayConnection& connection, std::int64_t ownPid);

    Hwnd GetWindow(Hwnd window, unsigned command) override;
    // Views in the scratchpad are bordered but not visible, so the list leaves them out.
    std::uint32_t WindowStyle(Hwnd window) override;
    std::string WindowTitle(Hwnd window) override;
    void EndWalk() override;
    void ShowWindow(Hwnd window, int command) override;
    void ActivateWindow(std::string_view title, Hwnd preferred) override;
    Hwnd GetForegroundWindow() override;
    // Acts on the program's own views whatever `window` is: the toolkit's window handle is no
    // container id. Before the program has a view, keep-on-top waits for the next walk.
    void SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned flags) override;
    // No keystroke is typed on Wayland: Close kills exactly the row's container.
    bool ClosesByRequest() const override { return true; }
    // Focuses the program's own view, if it has one yet. sway answers a program's own
    // activation request only by marking its view urgent, unless its user chose otherwise.
    // Never throws: it runs while the form is shown, start-up included.
    void FocusOwnView();
    void RequestClose(Hwnd window) override;
    // sway has no minimized state.
    bool Offers(DesktopCommand command) const override;
    std::string DesktopName() const override { return "sway"; }

    // Applies a keep-on-top asked for before the program had a view; true once nothing is
    // pending. The program's window gets its view only after it is first drawn, so the program
    // asks again for a moment after start-up.
    bool PlacePendingOwnViews();

private:
    // The views as sway has them now, most recently focused first.
    std::vector<SwayView> Views();
    // A view from the walk's snapshot while a walk runs, else read afresh; none when gone.
    std::optional<SwayView> Find(Hwnd window);
    // Runs a command list; throws RuntimeError unless sway carried out every command.
    void Run(const std::string& commands);
    // Runs `commands` on `window`; a view that has gone meanwhile is left alone.
    void RunOnView(Hwnd window, std::string_view commands);
    // Floats the program's views and makes them sticky (onTop), or tiles them again.
    void PlaceOwnViews(const std::vector<SwayView>& views, bool onTop);
    bool IsOwn(const SwayView& view) const { return view.pid == ownPid_; }

    SwayConnection& connection_;
    std::int64_t ownPid_;
    // The walk's snapshot of the other programs' views, in order; dropped at its end.
    WalkSnapshot<SwayView, &SwayView::id> walk_;
    // Keep-on-top was asked for before the program had a view to float.
    bool ownOnTopPending_ = false;
    // A pending keep-on-top that sway refused during the walk under way.
    bool placementFailed_ = false;
};

}  // namespace velmora::wayland

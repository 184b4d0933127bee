#pragma once
// Other programs' top-level windows on X11: the window manager's client list and EWMH requests.

#include <cstdint>
#include <vector>

#include "XConnection.h"
#include "platform/WalkSnapshot.h"
#include "platform/WindowSystem.h"

namespace velmora::x11 {

struct WindowFacts;
// A window's handle, for the walk's snapshot (WindowFacts is complete only where it is read).
Hwnd HandleOf(const WindowFacts& facts);

// The window ids one client connection gives out: the X server hands each connection a base
// and a mask, and every resource the connection creates carries that base.
struct ClientIds {
    std::uint32_t base = 0;
    std::uint32_t mask = 0;
    bool Holds(std::uint32_t id) const { return (id & ~mask) == base; }
};

// The ids of the connection's own client.
ClientIds IdsOf(XConnection& connection);

class X11WindowSystem : public WindowSystem {
public:
    // The program's own windows are those created through `connection` or any connection
    // named in `ownClients` (its toolkit's); no other window is ever taken for one of them,
    // whatever it claims.
    explicit X11WindowSystem(XConnection& connection, std::vector<ClientIds> ownClients = {});
    ~X11WindowSystem() override;

    Hwnd GetWindow(Hwnd window, unsigned command) override;
    std::uint32_t WindowStyle(Hwnd window) override;
    std::string WindowTitle(Hwnd window) override;
    void EndWalk() override;
    void ShowWindow(Hwnd window, int command) override;
    void ActivateWindow(std::string_view title, Hwnd preferred) override;
    Hwnd GetForegroundWindow() override;
    void SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned flags) override;
    // Alt+F4 is the window manager's own binding, never seen by the client: Close asks instead.
    bool ClosesByRequest() const override { return true; }
    void RequestClose(Hwnd window) override;

private:
    // The facts of a window: from the walk's snapshot while a walk runs, else read afresh.
    WindowFacts Facts(Hwnd window);
    bool IsOwnWindow(Hwnd window) const;

    XConnection& connection_;
    std::vector<ClientIds> ownClients_;
    // The snapshot taken at the start of a walk, in z-order from the top; dropped at its end so
    // that later questions see the windows as they are then.
    WalkSnapshot<WindowFacts, &HandleOf> walk_;
};

}  // namespace velmora::x11

#pragma once
// Other programs' top-level windows on X11: the window manager's client list and EWMH requests.

#include <unordered_map>
#include <vector>

#include "XConnection.h"
#include "platform/WindowSystem.h"

namespace velmora::x11 {

struct WindowFacts;

class X11WindowSystem : public WindowSystem {
public:
    explicit X11WindowSystem(XConnection& connection);
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

    XConnection& connection_;
    // The snapshot taken at the start of a walk, in z-order from the top; dropped at its end so
    // that later questions see the windows as they are then.
    std::vector<WindowFacts> walk_;
    std::unordered_map<Hwnd, std::size_t> walkIndex_;
};

}  // namespace velmora::x11

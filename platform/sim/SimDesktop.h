#pragma once
// A model desktop: top-level windows with titles, styles, show states and a z-order.

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "Recorder.h"
#include "platform/WindowSystem.h"

namespace velmora::sim {

enum class ShowState { Normal, Minimized, Maximized, Hidden };

inline constexpr std::uint32_t kWsCaption = 0x00C00000;  // title bar, which includes the border
inline constexpr std::uint32_t kWsPopup = 0x80000000;
inline constexpr std::uint32_t kWsMinimize = 0x20000000;
inline constexpr std::uint32_t kWsMaximize = 0x01000000;

// What a window does when it receives Alt+F4 or a close request.
enum class CloseReaction { Close, AskToSave, Refuse };

struct SimWindow {
    Hwnd handle = 0;
    std::string title;
    std::uint32_t style = kWsCaption;  // without the visibility and state bits
    ShowState state = ShowState::Normal;
    bool topmost = false;
    CloseReaction onClose = CloseReaction::Close;
    bool takesFocus = true;   // false: activation raises it but leaves the foreground as it is
    bool programOwn = false;  // one of the program's own windows
    bool answers = true;      // false: its program has stopped handling messages
};

class SimDesktop : public WindowSystem {
public:
    explicit SimDesktop(Recorder& recorder) : recorder_(recorder) {}

    // A new window at the top of its band (the top of the z-order for ordinary windows).
    Hwnd Create(std::string title, std::uint32_t style = kWsCaption,
                ShowState state = ShowState::Normal);
    void Destroy(Hwnd window);
    void SetTitle(Hwnd window, std::string title);
    void SetState(Hwnd window, ShowState state);
    void SetCloseReaction(Hwnd window, CloseReaction reaction);
    void MarkProgramOwn(Hwnd window);
    // A window whose program stops handling messages (or starts again): requests to change it
    // go unanswered and it cannot be brought to the foreground.
    void SetAnswering(Hwnd window, bool answers);
    void SetTakesFocus(Hwnd window, bool takesFocus);
    // Makes a window the foreground window and raises it within its band.
    void Activate(Hwnd window);
    // Raises a window within its band, leaving the foreground as it is.
    void Raise(Hwnd window);
    // The foreground window's reaction to Alt+F4.
    void PressAltF4();

    bool Exists(Hwnd window) const { return Find(window) != nullptr; }
    const SimWindow& Window(Hwnd window) const;
    // Handles from the top of the z-order down.
    std::vector<Hwnd> ZOrder() const;

    // Runs before every GetWindow call, with its window and command, so a test can change the
    // desktop in the middle of a walk.
    std::function<void(Hwnd, unsigned)> beforeGetWindow;
    // When set, activation requests leave the foreground as it is.
    bool refuseActivation = false;
    // Runs when ActivateWindow has chosen its window, before that window is brought forward.
    std::function<void(Hwnd)> onActivateWindow;
    // Titles of the windows that received Alt+F4, in order.
    std::vector<std::string> altF4Received;
    // When set, the desktop closes windows by request, as X11 does, instead of by Alt+F4.
    bool closesByRequest = false;
    // Titles of the windows asked to close by request, in order.
    std::vector<std::string> closeRequests;
    // The commands this desktop says it cannot carry out, and the name it gives itself.
    std::set<DesktopCommand> notOffered;
    std::string desktopName = "Simdesk";

    Hwnd GetWindow(Hwnd window, unsigned command) override;
    std::uint32_t WindowStyle(Hwnd window) override;
    std::string WindowTitle(Hwnd window) override;
    void EndWalk() override { recorder_.Call("EndWalk"); }
    void ShowWindow(Hwnd window, int command) override;
    void ActivateWindow(std::string_view title, Hwnd preferred) override;
    Hwnd GetForegroundWindow() override;
    void SetWindowPos(Hwnd window, Hwnd insertAfter, unsigned flags) override;
    bool ClosesByRequest() const override { return closesByRequest; }
    void RequestClose(Hwnd window) override;
    bool Offers(DesktopCommand command) const override { return !notOffered.contains(command); }
    std::string DesktopName() const override { return desktopName; }

private:
    // What the window does when asked to close, by either way.
    void React(SimWindow& target);
    const SimWindow* Find(Hwnd window) const;
    SimWindow* Find(Hwnd window);
    std::optional<std::size_t> Position(Hwnd window) const;

    Recorder& recorder_;
    std::vector<SimWindow> windows_;  // z-order, top first
    mutable std::unordered_map<Hwnd, std::size_t> positions_;
    mutable bool indexValid_ = false;
    Hwnd nextHandle_ = 0x00010010;
    Hwnd foreground_ = 0;
};

}  // namespace velmora::sim

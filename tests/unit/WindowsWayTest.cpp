#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/Enum.h"
#include "app/Globals.h"
#include "platform/linux/FollowingWindowSystem.h"
#include "platform/linux/WindowsWay.h"
#include "platform/sim/SimDesktop.h"

namespace velmora::session {
namespace {

// A session as its answers, and which questions the choice asked of it, in order.
struct Session {
    bool sway, wayland, kwin, gnome, toplevels, x;
    std::string asked;

    SessionProbes Probes() {
        const auto answer = [this](char name, bool value) {
            return [this, name, value] {
                asked += name;
                return value;
            };
        };
        return {answer('s', sway),      answer('w', wayland),   answer('k', kwin),
                answer('g', gnome),     answer('t', toplevels), answer('x', x)};
    }
};

TEST(WindowsWay, TheSessionsOwnCompositorFirstThenX11AndAsksNoMoreThanItNeeds) {
    struct Case {
        Session session;
        WindowsWay way;
        const char* asked;
    };
    const Case cases[] = {
        {{true, true, true, true, true, true}, WindowsWay::Sway, "s"},
        {{false, true, true, true, true, true}, WindowsWay::KWin, "swk"},
        {{false, true, false, true, true, true}, WindowsWay::GnomeShell, "swkg"},
        {{false, true, false, false, true, true}, WindowsWay::WlrToplevels, "swkgt"},
        // GNOME without the extension, Plasma run from where KWin does not offer its protocol:
        // X11 through XWayland.
        {{false, true, false, false, false, true}, WindowsWay::X11, "swkgtx"},
        // No Wayland session: no Wayland protocol or extension is ever looked for.
        {{false, false, true, true, true, true}, WindowsWay::X11, "swx"},
        {{false, false, false, false, false, false}, WindowsWay::None, "swx"},
        {{false, true, false, false, false, false}, WindowsWay::None, "swkgtx"},
    };
    for (Case c : cases) {
        EXPECT_EQ(ChooseWindowsWay(c.session.Probes()), c.way) << c.asked;
        EXPECT_EQ(c.session.asked, c.asked);
    }
}


// The GNOME Shell extension enabled after start-up, disabled and enabled again: the program
// lists through whichever is there as each walk begins, and a handle listed before a switch
// still acts on its own window, though both desktops give out the same numbers.
TEST(FollowingWindowSystem, FollowsThePreferredWayAndKeepsEachHandleWithItsWindow) {
    sim::Recorder recorder;
    sim::SimDesktop x11(recorder), shell(recorder);
    const Hwnd x11Window = x11.Create("X11 window");
    ASSERT_EQ(shell.Create("Wayland window"), x11Window);
    bool there = false;
    FollowingWindowSystem windows(
        x11,
        [&]() -> std::unique_ptr<WindowSystem> {
            if (!there) return nullptr;
            return std::make_unique<sim::SimDesktop>(std::move(shell));
        },
        [&] { return there; });
    Globals globals;
    Enum enumerator(windows, globals);
    const auto listed = [&] {
        EXPECT_EQ(enumerator.GetOpenWindows(0), 1);
        return enumerator.OpenWindows()[0];
    };

    const WindowEntry before = listed();
    EXPECT_EQ(before.Title, "X11 window");
    there = true;
    const WindowEntry after = listed();
    EXPECT_EQ(after.Title, "Wayland window");
    windows.ShowWindow(before.Handle, kSwMinimize);
    EXPECT_EQ(x11.Window(x11Window).state, sim::ShowState::Minimized);
    EXPECT_EQ(windows.WindowStyle(after.Handle) & sim::kWsMinimize, 0u);

    there = false;
    EXPECT_EQ(listed().Title, "X11 window");
    windows.ShowWindow(after.Handle, kSwShowMaximized);
    EXPECT_EQ(x11.Window(x11Window).state, sim::ShowState::Minimized);
    EXPECT_NE(windows.WindowStyle(after.Handle) & sim::kWsMaximize, 0u);
    there = true;
    EXPECT_EQ(listed().Handle, after.Handle);

    // The program's own window is the fall-back's, whichever way lists the others.
    windows.SetWindowPos(x11Window, kHwndTopmost, kSwpNoMove | kSwpNoSize);
    EXPECT_TRUE(x11.Window(x11Window).topmost);
}

}  // namespace
}  // namespace velmora::session

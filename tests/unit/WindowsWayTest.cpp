#include <gtest/gtest.h>

#include <string>

#include "platform/linux/WindowsWay.h"

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

}  // namespace
}  // namespace velmora::session

#include <gtest/gtest.h>

#include "platform/win32/Cloaking.h"

namespace velmora::win32 {
namespace {

// DWMWA_CLOAKED holds why a window is cloaked: by its app (1), by the shell (2), or through
// its owner (4); the shell also cloaks the windows of the virtual desktops not shown.
TEST(ShownToUser, OnlyUncloakedWindowsAndThoseOnAVirtualDesktop) {
    struct Case {
        std::uint32_t cloaked;
        bool onAVirtualDesktop;
        bool shown;
    };
    for (const Case& c : {Case{0, false, true}, Case{0, true, true}, Case{1, false, false},
                          Case{2, false, false}, Case{4, false, false}, Case{6, false, false},
                          Case{2, true, true}, Case{1, true, true}}) {
        EXPECT_EQ(ShownToUser(c.cloaked, c.onAVirtualDesktop), c.shown)
            << c.cloaked << " " << c.onAVirtualDesktop;
    }
}

}  // namespace
}  // namespace velmora::win32

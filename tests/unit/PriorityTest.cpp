#include <gtest/gtest.h>

#include "SimProgram.h"

namespace velmora::test {
namespace {

struct PriorityTest : ::testing::Test, SimProgram {
    Hwnd other = desktop().Create("Other");

    std::string topmost() const { return "SetWindowPos(" + sim::HexHandle(form_()) + ",-1,0x3)"; }
    std::string bottom() const { return "SetWindowPos(" + sim::HexHandle(form_()) + ",1,0x13)"; }
    Hwnd form_() const { return program.globals().MainWindowHandle; }
};

TEST_F(PriorityTest, KeepOnTopPutsTheWindowInTheTopmostBandAndSavesBothKeys) {
    program.Start();
    widgets().UserClick(Id(Control::Option2));
    EXPECT_EQ(sim.recorder.Count(topmost()), 1);
    EXPECT_TRUE(desktop().Window(form_()).topmost);
    EXPECT_EQ(desktop().ZOrder().front(), form_());
    EXPECT_EQ(runtime().Setting("Option1"), "False");
    EXPECT_EQ(runtime().Setting("Option2"), "True");
}

TEST_F(PriorityTest, RegularDropsTheWindowBehindAllOthersWithoutActivating) {
    program.Start();
    widgets().UserClick(Id(Control::Option2));
    widgets().UserClick(Id(Control::Option1));
    EXPECT_EQ(sim.recorder.Count(bottom()), 2);  // at start-up and now
    EXPECT_FALSE(desktop().Window(form_()).topmost);
    EXPECT_EQ(desktop().ZOrder().back(), form_());
    EXPECT_EQ(runtime().Setting("Option1"), "True");
    EXPECT_EQ(runtime().Setting("Option2"), "False");
}

TEST_F(PriorityTest, ClickingTheSelectedOptionRepeatsItsEffect) {
    program.Start();
    widgets().UserClick(Id(Control::Option1));
    widgets().UserClick(Id(Control::Option1));
    EXPECT_EQ(sim.recorder.Count(bottom()), 3);
}

struct StoredPriority {
    const char* option1;
    const char* option2;
    int regular;
    int topmost;
};

struct StoredPriorityTest : PriorityTest, ::testing::WithParamInterface<StoredPriority> {};

TEST_P(StoredPriorityTest, StartUpAppliesTheStoredChoice) {
    runtime().PutSetting("Option1", GetParam().option1);
    runtime().PutSetting("Option2", GetParam().option2);
    program.Start();
    EXPECT_EQ(sim.recorder.Count(bottom()), GetParam().regular);
    EXPECT_EQ(sim.recorder.Count(topmost()), GetParam().topmost);
    EXPECT_EQ(desktop().Window(form_()).topmost, GetParam().topmost > 0);
}

// Selecting Option2 at start-up runs its click handling, then start-up applies it again.
INSTANTIATE_TEST_SUITE_P(EachCombination, StoredPriorityTest,
                         ::testing::Values(StoredPriority{"True", "False", 1, 0},
                                           StoredPriority{"False", "True", 0, 2},
                                           StoredPriority{"False", "False", 0, 0},
                                           StoredPriority{"True", "True", 0, 2}));

// On a desktop that cannot keep a window on top, choosing it says so once and changes no
// window; the choice is still saved, and regular, which every start-up applies, says nothing.
struct KeepOnTopUnofferedTest : PriorityTest {
    KeepOnTopUnofferedTest() {
        desktop().notOffered = {DesktopCommand::KeepOnTop};
        desktop().desktopName = "labwc";
    }
    static constexpr const char* kText =
        "Keeping this window on top of others is not available on labwc; it stays a regular "
        "window.";
};

TEST_F(KeepOnTopUnofferedTest, SaysSoOnceAndLeavesTheWindowAsItIs) {
    program.Start();
    EXPECT_TRUE(runtime().messages.empty());
    widgets().UserClick(Id(Control::Option2));
    widgets().UserClick(Id(Control::Option1));
    widgets().UserClick(Id(Control::Option2));
    ASSERT_EQ(runtime().messages.size(), 1u);
    EXPECT_EQ(runtime().messages[0].text, kText);
    EXPECT_EQ(sim.recorder.Count("SetWindowPos"), 0);
    EXPECT_FALSE(desktop().Window(form_()).topmost);
    EXPECT_EQ(runtime().Setting("Option2"), "True");
}

TEST_F(KeepOnTopUnofferedTest, AStoredChoiceIsToldOnceAtStartUp) {
    runtime().PutSetting("Option1", "False");
    runtime().PutSetting("Option2", "True");
    program.Start();
    ASSERT_EQ(runtime().messages.size(), 1u);
    EXPECT_EQ(runtime().messages[0].text, kText);
    EXPECT_EQ(sim.recorder.Count("SetWindowPos"), 0);
}

}  // namespace
}  // namespace velmora::test

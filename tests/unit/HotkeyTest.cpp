#include <gtest/gtest.h>

#include "SimProgram.h"

namespace velmora::test {
namespace {

using sim::ShowState;

struct HotkeyTest : ::testing::Test, SimProgram {
    Hwnd target = desktop().Create("Target");

    HotkeyTest() {
        program.Start();
        widgets().UserCheckRow(Id(Control::ListView1), 1, true);
    }
    void press(int key, int shift = 3) { widgets().UserKeyDown(key, shift); }
    ShowState state() const { return sim.desktop.Window(target).state; }
};

TEST_F(HotkeyTest, CtrlShiftLetterRunsItsCommand) {
    press('H');
    EXPECT_EQ(state(), ShowState::Hidden);
    EXPECT_EQ(rows()[0].subItems[0], "Hidden");
    press('S');
    EXPECT_EQ(state(), ShowState::Normal);
    press('X');
    EXPECT_EQ(state(), ShowState::Maximized);
    press('R');
    EXPECT_EQ(state(), ShowState::Normal);
    const int rebuilds = sim.recorder.Count("ClearRows");
    press('L');
    EXPECT_EQ(sim.recorder.Count("ClearRows"), rebuilds + 1);
    widgets().UserCheckRow(Id(Control::ListView1), 1, true);
    press('M');
    EXPECT_EQ(state(), ShowState::Minimized);
    widgets().UserCheckRow(Id(Control::ListView1), 1, true);
    press('C');
    EXPECT_FALSE(desktop().Exists(target));
}

TEST_F(HotkeyTest, OtherModifierStatesDoNothing) {
    for (const int shift : {0, 1, 2, 4, 5, 6, 7}) press('H', shift);
    EXPECT_EQ(state(), ShowState::Normal);
    EXPECT_EQ(sim.recorder.Count("ShowWindow"), 0);
}

TEST_F(HotkeyTest, OtherKeysDoNothing) {
    const int rebuilds = sim.recorder.Count("ClearRows");
    for (const int key : {int{'A'}, int{'Q'}, int{'Z'}, 0x70, int{'h'}, int{'l'}}) press(key);
    EXPECT_EQ(sim.recorder.Count("ShowWindow"), 0);
    EXPECT_EQ(sim.recorder.Count("ClearRows"), rebuilds);
}

}  // namespace
}  // namespace velmora::test

#include <gtest/gtest.h>

#include "SimProgram.h"

namespace velmora::test {
namespace {

constexpr char kBalloon[] =
    "has been minimized to the system tray.\r\nClick on the blue 'Q' icon (Q for Quillfern) to "
    "bring the software back.";

struct TrayIntegrationTest : ::testing::Test, SimProgram {
    std::vector<NotifyIconRecord> balloons() const {
        std::vector<NotifyIconRecord> shown;
        for (const auto& request : sim.shell.requests) {
            if (request.record.uFlags == kNifInfo && request.record.szInfo[0] != '\0') {
                shown.push_back(request.record);
            }
        }
        return shown;
    }
    Hwnd form_() const { return program.globals().MainWindowHandle; }
};

TEST_F(TrayIntegrationTest, StartUpPutsTheIconInTheTrayWithTheProductName) {
    program.Start();
    ASSERT_EQ(sim.shell.icons.size(), 1u);
    EXPECT_STREQ(sim.shell.icons.begin()->second.szTip, "Velmora Suite");
}

TEST_F(TrayIntegrationTest, TheFirstMinimizeHidesTheWindowWithOneBalloon) {
    program.Start();
    widgets().UserMinimize();
    EXPECT_FALSE(widgets().FormVisible());
    ASSERT_EQ(balloons().size(), 1u);
    EXPECT_STREQ(balloons()[0].szInfoTitle, "Velmora Suite");
    EXPECT_STREQ(balloons()[0].szInfo, kBalloon);
    EXPECT_EQ(balloons()[0].uTimeout, 5000u);
    EXPECT_DOUBLE_EQ(runtime().clock, 5.0);  // waited for the balloon, then took it down

    sim.shell.Callback(kWmLButtonUp);
    EXPECT_TRUE(widgets().FormVisible());
    EXPECT_EQ(widgets().FormWindowState(), vbNormal);
    EXPECT_EQ(desktop().GetForegroundWindow(), form_());

    widgets().UserMinimize();
    EXPECT_FALSE(widgets().FormVisible());
    EXPECT_EQ(balloons().size(), 1u);
}

TEST_F(TrayIntegrationTest, ARightButtonReleaseBringsTheWindowBackToo) {
    program.Start();
    widgets().UserMinimize();
    sim.shell.Callback(kWmRButtonDown);
    EXPECT_FALSE(widgets().FormVisible());
    sim.shell.Callback(kWmRButtonUp);
    EXPECT_TRUE(widgets().FormVisible());
}

TEST_F(TrayIntegrationTest, AClickDuringTheBalloonWaitBringsTheWindowBack) {
    program.Start();
    runtime().Schedule(1.0, [&] { sim.shell.Callback(kWmLButtonUp); });
    widgets().UserMinimize();
    EXPECT_TRUE(widgets().FormVisible());
}

TEST_F(TrayIntegrationTest, AClickWhileShownOnlyFocusesTheWindow) {
    const Hwnd other = desktop().Create("Other");
    program.Start();
    desktop().Activate(other);
    sim.shell.Callback(kWmLButtonUp);
    EXPECT_EQ(desktop().GetForegroundWindow(), form_());
    EXPECT_TRUE(balloons().empty());
}

TEST_F(TrayIntegrationTest, WithoutATrayTheWindowMinimizesNormally) {
    sim.shell.available = false;
    program.Start();
    widgets().UserMinimize();
    EXPECT_TRUE(widgets().FormVisible());
    EXPECT_EQ(widgets().FormWindowState(), vbMinimized);
    EXPECT_TRUE(balloons().empty());
}

TEST_F(TrayIntegrationTest, AfterAShellRestartTheHiddenWindowIsStillReachable) {
    program.Start();
    widgets().UserMinimize();
    sim.shell.Restart();
    EXPECT_EQ(sim.shell.icons.size(), 1u);
    sim.shell.Callback(kWmLButtonUp);
    EXPECT_TRUE(widgets().FormVisible());
}

TEST_F(TrayIntegrationTest, RestoringOrMaximizingTheVisibleWindowDoesNothing) {
    program.Start();
    widgets().SetFormWindowState(vbMaximized);
    widgets().SetFormWindowState(vbNormal);
    EXPECT_TRUE(widgets().FormVisible());
    EXPECT_TRUE(balloons().empty());
}

}  // namespace
}  // namespace velmora::test

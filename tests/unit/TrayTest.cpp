#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"
#include "tray/cSysTray.h"
#include "tray/mSysTray.h"

namespace velmora {
namespace {

// The control's host: it only writes down what the control raises.
struct HostLog : TrayEvents {
    std::vector<std::string> events;
    void TrayMouseMove(std::int32_t id) override { events.push_back("move " + std::to_string(id)); }
    void TrayMouseDown(std::int16_t b, std::int32_t) override { events.push_back("down " + std::to_string(b)); }
    void TrayMouseUp(std::int16_t b, std::int32_t) override { events.push_back("up " + std::to_string(b)); }
    void TrayMouseDblClick(std::int16_t b, std::int32_t) override { events.push_back("dbl " + std::to_string(b)); }
};

struct TrayTest : ::testing::Test {
    sim::SimPlatform sim;
    HostLog host;
    mSysTray module{sim.shell};
    std::optional<cSysTray> tray;

    TrayTest() { tray.emplace(sim.platform, module, host); }
    const std::vector<sim::NotifyRequest>& requests() const { return sim.shell.requests; }
};

TEST_F(TrayTest, SettingInTrayToItsValueSendsNothing) {
    tray->SetInTray(false);
    EXPECT_TRUE(requests().empty());
    tray->SetInTray(true);
    tray->SetInTray(true);
    EXPECT_EQ(requests().size(), 1u);
}

TEST_F(TrayTest, InTrayAddsThenDeletesAndRestoresTheWindowProcedure) {
    tray->SetTrayTip("Tip text");
    tray->SetInTray(true);
    ASSERT_EQ(requests().size(), 1u);
    const NotifyIconRecord add = requests()[0].record;
    EXPECT_EQ(requests()[0].message, kNimAdd);
    EXPECT_EQ(add.hWnd, sim::SimShell::kTrayWindow);
    EXPECT_EQ(add.uFlags, kNifMessage | kNifIcon | kNifTip);
    EXPECT_EQ(add.uCallbackMessage, 0x0465u);
    EXPECT_EQ(add.hIcon, sim::SimShell::kTrayIcon);
    EXPECT_STREQ(add.szTip, "Tip text");
    EXPECT_TRUE(tray->IconShown());
    EXPECT_FALSE(sim.shell.HasDefaultProcedure());

    tray->SetInTray(false);
    ASSERT_EQ(requests().size(), 2u);
    EXPECT_EQ(requests()[1].message, kNimDelete);
    EXPECT_EQ(requests()[1].record.hWnd, add.hWnd);
    EXPECT_EQ(requests()[1].record.uFlags, 0u);
    EXPECT_TRUE(sim.shell.HasDefaultProcedure());
    EXPECT_TRUE(sim.shell.icons.empty());
}

TEST_F(TrayTest, AnAddWithoutTipOrIconLeavesOutTheirFlags) {
    sim.shell.trayIcon = 0;
    tray.emplace(sim.platform, module, host);
    tray->SetTrayTip("");
    tray->SetInTray(true);
    EXPECT_EQ(requests().back().record.uFlags, kNifMessage);
}

TEST_F(TrayTest, ATipChangedOutsideTheTrayIsUsedByTheNextAdd) {
    tray->SetTrayTip("Later");
    EXPECT_TRUE(requests().empty());
    EXPECT_EQ(tray->TrayTip(), "Later");
    tray->SetInTray(true);
    EXPECT_STREQ(requests().back().record.szTip, "Later");
    tray->SetTrayTip("Now");
    EXPECT_EQ(requests().back().message, kNimModify);
    EXPECT_EQ(requests().back().record.uFlags, kNifTip);
}

TEST_F(TrayTest, TextsAreCutToFitTheirFieldsAtACharacterBoundary) {
    tray->SetTrayTip(std::string(200, 'x'));
    tray->SetInTray(true);
    EXPECT_EQ(std::string(requests().back().record.szTip), std::string(127, 'x'));
    NotifyIconRecord record;
    CopyField(record.szTip, std::string(126, 'a') + "é");
    EXPECT_EQ(std::string(record.szTip), std::string(126, 'a'));
    CopyField(record.szInfoTitle, "Ω" + std::string(70, 'b'));
    EXPECT_EQ(std::string(record.szInfoTitle), "Ω" + std::string(61, 'b'));
}

TEST_F(TrayTest, CallbacksBecomeMouseEventsAndReachThePreviousProcedure) {
    tray->SetInTray(true);
    for (const std::uintptr_t notification :
         {kWmMouseMove, kWmLButtonDown, kWmLButtonUp, kWmLButtonDblClk, kWmRButtonDown,
          kWmRButtonUp, kWmRButtonDblClk, kWmMButtonUp, kNinBalloonShow}) {
        sim.shell.Callback(notification);
    }
    EXPECT_EQ(host.events, (std::vector<std::string>{"move 0", "down 1", "up 1", "dbl 1", "down 2",
                                                     "up 2", "dbl 2"}));
    EXPECT_EQ(sim.shell.reachedDefault, 9);
}

TEST_F(TrayTest, ARestartedShellGetsTheIconAgain) {
    tray->SetInTray(true);
    sim.shell.Restart();
    EXPECT_EQ(requests().back().message, kNimAdd);
    EXPECT_EQ(sim.shell.icons.size(), 1u);
    EXPECT_TRUE(tray->IconShown());
}

TEST_F(TrayTest, WithoutANotificationAreaTheIconIsNotShown) {
    sim.shell.available = false;
    tray->SetInTray(true);
    EXPECT_TRUE(tray->InTray());
    EXPECT_FALSE(tray->IconShown());
}

TEST_F(TrayTest, AOnceOnlyBalloonShowsOnceAndOthersAlways) {
    tray->SetInTray(true);
    tray->ShowBalloon("text", "title", 0, true);
    tray->ShowBalloon("text", "title", 0, true);
    tray->ShowBalloon("text", "title", 0, false);
    tray->ShowBalloon("text", "title", 0, false);
    EXPECT_EQ(requests().size(), 4u);  // the add and three balloons
    const NotifyIconRecord& balloon = requests()[1].record;
    EXPECT_EQ(balloon.uFlags, kNifInfo);
    EXPECT_STREQ(balloon.szInfo, "text");
    EXPECT_STREQ(balloon.szInfoTitle, "title");
    EXPECT_EQ(balloon.uTimeout, 0u);
}

struct BalloonEndingTest : TrayTest, ::testing::WithParamInterface<std::uintptr_t> {};

TEST_P(BalloonEndingTest, TheShellEndsTheBalloonWaitAndNothingTakesItDown) {
    tray->SetInTray(true);
    sim.runtime.Schedule(1.5, [&] { sim.shell.Callback(GetParam()); });
    tray->ShowBalloon("text", "title", 5, true);
    EXPECT_DOUBLE_EQ(sim.runtime.clock, 1.5);
    EXPECT_EQ(requests().size(), 2u);
    EXPECT_EQ(requests()[1].record.uTimeout, 5000u);
}

INSTANTIATE_TEST_SUITE_P(HideTimeoutAndClick, BalloonEndingTest,
                         ::testing::Values(kNinBalloonHide, kNinBalloonTimeout,
                                           kNinBalloonUserClick));

TEST_F(TrayTest, AtTheEndOfItsTimeTheBalloonIsTakenDown) {
    tray->SetInTray(true);
    tray->ShowBalloon("text", "title", 5, true);
    EXPECT_DOUBLE_EQ(sim.runtime.clock, 5.0);
    EXPECT_LE(sim.recorder.Count("WaitForEvents"), 2);
    ASSERT_EQ(requests().size(), 3u);
    EXPECT_EQ(requests()[2].message, kNimModify);
    EXPECT_EQ(requests()[2].record.uFlags, kNifInfo);
    EXPECT_STREQ(requests()[2].record.szInfo, "");
}

TEST_F(TrayTest, ABalloonTimeBeyond32BitMillisecondsOverflowsBeforeAnythingIsSent) {
    tray->SetInTray(true);
    EXPECT_THROW(tray->ShowBalloon("text", "title", 3000000, false), RuntimeError);
    EXPECT_EQ(requests().size(), 1u);
}

}  // namespace
}  // namespace velmora

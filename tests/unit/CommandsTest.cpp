#include <gtest/gtest.h>

#include "SimProgram.h"

namespace velmora::test {
namespace {

using sim::ShowState;

struct CommandsTest : ::testing::Test, SimProgram {
    Hwnd a = desktop().Create("Alpha");
    Hwnd b = desktop().Create("Beta");
    Hwnd c = desktop().Create("Gamma");

    CommandsTest() { program.Start(); }  // rows: Gamma, Beta, Alpha

    void tick(int row) { widgets().UserCheckRow(Id(Control::ListView1), row, true); }
    void click(Control button) { widgets().UserClick(Id(button)); }
    ShowState state(Hwnd window) const { return sim.desktop.Window(window).state; }
    std::string status(int row) const { return rows()[row - 1].subItems.at(0); }
    int rebuilds() const { return sim.recorder.Count("ClearRows"); }
};

TEST_F(CommandsTest, HideThenShowActsOnTheCheckedRowsOnly) {
    tick(1);
    tick(3);
    click(Control::PushButton6);
    EXPECT_EQ(state(c), ShowState::Hidden);
    EXPECT_EQ(state(b), ShowState::Normal);
    EXPECT_EQ(state(a), ShowState::Hidden);
    EXPECT_EQ(status(1), "Hidden");
    EXPECT_EQ(status(2), "Visible");
    EXPECT_EQ(status(3), "Hidden");
    EXPECT_TRUE(rows()[0].checked);  // the list stays as it was

    click(Control::PushButton7);
    EXPECT_EQ(state(c), ShowState::Normal);
    EXPECT_EQ(state(a), ShowState::Normal);
    EXPECT_EQ(status(1), "Visible");
    EXPECT_EQ(sim.recorder.Count("ShowWindow(" + sim::HexHandle(c) + ",9)"), 1);
}

TEST_F(CommandsTest, MaximizeAndRestoreWriteVisibleAndKeepTheList) {
    tick(2);
    const int before = rebuilds();
    click(Control::PushButton10);
    EXPECT_EQ(state(b), ShowState::Maximized);
    click(Control::PushButton10);
    EXPECT_EQ(state(b), ShowState::Maximized);
    click(Control::PushButton11);
    EXPECT_EQ(state(b), ShowState::Normal);
    EXPECT_EQ(status(2), "Visible");
    EXPECT_TRUE(rows()[1].checked);
    EXPECT_EQ(rebuilds(), before);
}

TEST_F(CommandsTest, MinimizeRebuildsTheListAndMinimizedWindowsStayListed) {
    tick(1);
    tick(2);
    click(Control::PushButton9);
    EXPECT_EQ(state(c), ShowState::Minimized);
    EXPECT_EQ(state(b), ShowState::Minimized);
    EXPECT_EQ(rows().size(), 3u);
    for (const auto& row : rows()) {
        EXPECT_FALSE(row.checked);
        EXPECT_EQ(row.subItems[0], "Visible");
    }
}

TEST_F(CommandsTest, WithNothingCheckedOnlyCloseAndMinimizeRebuild) {
    for (const Control button : {Control::PushButton6, Control::PushButton7, Control::PushButton10,
                                 Control::PushButton11}) {
        click(button);
    }
    EXPECT_EQ(sim.recorder.Count("ShowWindow"), 0);
    const int before = rebuilds();
    click(Control::PushButton9);
    click(Control::PushButton8);
    EXPECT_EQ(rebuilds(), before + 2);
    EXPECT_TRUE(reports().empty());
}

TEST_F(CommandsTest, AVanishedWindowIsPassedOverAndItsStatusStillWritten) {
    tick(1);
    desktop().Destroy(c);
    click(Control::PushButton6);
    EXPECT_EQ(status(1), "Hidden");
    EXPECT_TRUE(reports().empty());
}

TEST_F(CommandsTest, AFailedStatusWriteIsReportedAndTheWalkGoesOn) {
    tick(1);
    tick(2);
    sim.recorder.Fail("SetRowSubItem", RuntimeError::IndexOutOfBounds());
    click(Control::PushButton6);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].rfind(ReportHead("Index out of bounds", "PushButton6_Click", 108), 0), 0u);
    EXPECT_EQ(state(b), ShowState::Hidden);
}

struct CloseTest : CommandsTest {
    const std::vector<std::string>& altF4() const { return sim.desktop.altF4Received; }
};

TEST_F(CloseTest, ClosesEachCheckedWindowWithAltF4HalfASecondApartThenRebuilds) {
    tick(1);
    tick(2);
    tick(3);
    sim.recorder.ClearCalls();
    click(Control::PushButton8);
    EXPECT_EQ(altF4(), (std::vector<std::string>{"Gamma", "Beta", "Alpha"}));
    EXPECT_FALSE(desktop().Exists(a));
    EXPECT_FALSE(desktop().Exists(b));
    EXPECT_FALSE(desktop().Exists(c));
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(sim.recorder.Count("ActivateWindow"), 3);
    ASSERT_EQ(sim.keyboard.batches.size(), 3u);
    for (const auto& batch : sim.keyboard.batches) {
        ASSERT_EQ(batch.size(), 4u);
        EXPECT_EQ(batch[0].virtualKey, kVkMenu);
        EXPECT_EQ(batch[1].virtualKey, 0x73);
        EXPECT_EQ(batch[3].flags, kKeyEventKeyUp);
    }
    EXPECT_DOUBLE_EQ(runtime().waited, 1.5);
    EXPECT_EQ(rebuilds(), 1);
    EXPECT_TRUE(reports().empty());
}

TEST_F(CloseTest, WaitingSleepsInsteadOfSpinning) {
    tick(1);
    click(Control::PushButton8);
    EXPECT_LE(sim.recorder.Count("WaitForEvents"), 2);
}

TEST_F(CloseTest, EventsKeepRunningDuringTheWait) {
    tick(2);
    bool ran = false;
    runtime().Schedule(runtime().clock + 0.2, [&] { ran = true; });
    click(Control::PushButton8);
    EXPECT_TRUE(ran);
    EXPECT_DOUBLE_EQ(runtime().waited, 0.5);
}

TEST_F(CloseTest, ARenamedWindowIsReportedAndNothingElseGetsTheKeys) {
    tick(1);
    tick(3);
    desktop().SetTitle(c, "Gamma (renamed)");
    click(Control::PushButton8);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].rfind(
                  ReportHead("Invalid procedure call or argument", "PushButton8_Click", 106), 0),
              0u);
    EXPECT_EQ(altF4(), std::vector<std::string>{"Alpha"});
    EXPECT_TRUE(desktop().Exists(c));
    EXPECT_TRUE(desktop().Exists(b));
    EXPECT_DOUBLE_EQ(runtime().waited, 1.0);  // the failed switch is waited out too
}

TEST_F(CloseTest, RefusedActivationSendsNoKeys) {
    tick(2);
    desktop().refuseActivation = true;
    click(Control::PushButton8);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("PushButton8_Click at line 106"), std::string::npos);
    EXPECT_TRUE(sim.keyboard.batches.empty());
    EXPECT_TRUE(desktop().Exists(b));
    EXPECT_DOUBLE_EQ(runtime().waited, 0.5);
}

TEST_F(CloseTest, ARowTitledLikeTheProgramNeverClosesTheProgramWhenItStaysInFront) {
    desktop().SetTitle(c, "Velmora Suite");
    widgets().UserClick(Id(Control::PushButton1));
    ASSERT_EQ(rows()[0].text, "Velmora Suite");
    tick(1);
    desktop().refuseActivation = true;
    desktop().Activate(program.globals().MainWindowHandle);
    click(Control::PushButton8);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].rfind(
                  ReportHead("Invalid procedure call or argument", "PushButton8_Click", 106), 0),
              0u);
    EXPECT_TRUE(sim.keyboard.batches.empty());
    EXPECT_TRUE(desktop().Exists(program.globals().MainWindowHandle));
    EXPECT_EQ(runtime().endCalls, 0);
}

TEST_F(CloseTest, AnUntickedWindowLeftInFrontGetsNoAltF4) {
    tick(2);
    desktop().refuseActivation = true;
    desktop().Activate(c);
    click(Control::PushButton8);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("PushButton8_Click at line 106"), std::string::npos);
    EXPECT_TRUE(altF4().empty());
    EXPECT_TRUE(desktop().Exists(c));
    EXPECT_TRUE(desktop().Exists(b));
}

TEST_F(CloseTest, OfTwoWindowsWithTheRowsTitleTheRowsOwnIsClosed) {
    const Hwnd older = desktop().Create("Report");
    const Hwnd newer = desktop().Create("Report");
    widgets().UserClick(Id(Control::PushButton1));
    ASSERT_EQ(form().RowHandles()[1], older);
    tick(2);
    click(Control::PushButton8);
    EXPECT_FALSE(desktop().Exists(older));
    EXPECT_TRUE(desktop().Exists(newer));
}

TEST_F(CloseTest, TheProgramsOwnWindowIsNeverTheTarget) {
    tick(1);
    desktop().SetTitle(c, "Velmora Suite");
    widgets().UserClick(Id(Control::PushButton1));
    ASSERT_EQ(rows()[0].text, "Velmora Suite");
    tick(1);
    desktop().Destroy(c);
    click(Control::PushButton8);
    EXPECT_EQ(reports().size(), 1u);
    EXPECT_TRUE(sim.keyboard.batches.empty());
    EXPECT_EQ(runtime().endCalls, 0);
}

TEST_F(CloseTest, AWindowThatAsksOrRefusesStaysAndOnlyTheTickedGetAltF4) {
    desktop().SetCloseReaction(c, sim::CloseReaction::AskToSave);
    desktop().SetCloseReaction(b, sim::CloseReaction::Refuse);
    tick(1);
    tick(2);
    click(Control::PushButton8);
    EXPECT_EQ(altF4(), (std::vector<std::string>{"Gamma", "Beta"}));
    EXPECT_TRUE(desktop().Exists(c));
    EXPECT_TRUE(desktop().Exists(b));
    EXPECT_TRUE(desktop().Exists(a));
}

TEST_F(CloseTest, RebuildsDuringTheWaitsLeaveTheWalkAsItWasStarted) {
    tick(1);
    tick(2);
    tick(3);
    // Timed refresh fires while the first and the second window's close is awaited.
    runtime().Schedule(runtime().clock + 0.2, [&] { form().PushButton1_Click(); });
    runtime().Schedule(runtime().clock + 0.7, [&] { form().PushButton1_Click(); });
    click(Control::PushButton8);
    EXPECT_EQ(altF4(), (std::vector<std::string>{"Gamma", "Beta", "Alpha"}));
    EXPECT_TRUE(rows().empty());
    EXPECT_DOUBLE_EQ(runtime().waited, 1.5);
    EXPECT_TRUE(reports().empty());
}

TEST_F(CloseTest, OnlyTheWindowsTickedAtTheStartAreClosed) {
    tick(1);
    tick(3);
    Hwnd d = 0;
    // A rebuild lists a new window at the top, and the user ticks a row of the new list.
    runtime().Schedule(runtime().clock + 0.2, [&] {
        d = desktop().Create("Delta");
        form().PushButton1_Click();
        ASSERT_EQ(rowTexts(), (std::vector<std::string>{"Delta", "Beta", "Alpha"}));
        tick(1);
        tick(2);
    });
    click(Control::PushButton8);
    EXPECT_EQ(altF4(), (std::vector<std::string>{"Gamma", "Alpha"}));
    EXPECT_TRUE(desktop().Exists(d));
    EXPECT_TRUE(desktop().Exists(b));
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"Delta", "Beta"}));
}

TEST_F(CloseTest, ATickedWindowIsStillSwitchedToByItsTitleAfterARebuild) {
    tick(1);
    tick(2);
    // Beta takes another title while Gamma's close is awaited, and the list is rebuilt.
    runtime().Schedule(runtime().clock + 0.2, [&] {
        desktop().SetTitle(b, "Beta (changed)");
        form().PushButton1_Click();
    });
    click(Control::PushButton8);
    EXPECT_EQ(altF4(), std::vector<std::string>{"Gamma"});
    EXPECT_TRUE(desktop().Exists(b));
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("PushButton8_Click at line 106"), std::string::npos);
}

}  // namespace
}  // namespace velmora::test

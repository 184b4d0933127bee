#include <gtest/gtest.h>

#include <algorithm>

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

TEST_F(CommandsTest, AWindowThatDoesNotAnswerHoldsNothingUp) {
    tick(1);
    tick(2);
    tick(3);
    desktop().SetAnswering(b, false);
    click(Control::PushButton6);
    EXPECT_EQ(state(c), ShowState::Hidden);
    EXPECT_EQ(state(b), ShowState::Normal);
    EXPECT_EQ(state(a), ShowState::Hidden);
    for (int row = 1; row <= 3; ++row) EXPECT_EQ(status(row), "Hidden");
    EXPECT_TRUE(reports().empty());
}

// Close runs the Windows way (Alt+F4 typed into the foreground window) or, on a desktop that
// closes windows by request as X11 does, asks for each window itself; the user sees the same.
struct CloseTest : CommandsTest, ::testing::WithParamInterface<bool> {
    CloseTest() { desktop().closesByRequest = GetParam(); }
    bool byRequest() const { return GetParam(); }
    // Titles of the windows Close reached, the one way or the other.
    const std::vector<std::string>& reached() const {
        return byRequest() ? sim.desktop.closeRequests : sim.desktop.altF4Received;
    }
};

INSTANTIATE_TEST_SUITE_P(BothWays, CloseTest, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "ByRequest" : "ByAltF4");
});

TEST_P(CloseTest, ClosesEachCheckedWindowHalfASecondApartThenRebuilds) {
    tick(1);
    tick(2);
    tick(3);
    sim.recorder.ClearCalls();
    click(Control::PushButton8);
    EXPECT_EQ(reached(), (std::vector<std::string>{"Gamma", "Beta", "Alpha"}));
    EXPECT_FALSE(desktop().Exists(a));
    EXPECT_FALSE(desktop().Exists(b));
    EXPECT_FALSE(desktop().Exists(c));
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(sim.recorder.Count("ActivateWindow"), 3);
    EXPECT_DOUBLE_EQ(runtime().waited, 1.5);
    EXPECT_EQ(rebuilds(), 1);
    EXPECT_TRUE(reports().empty());
}

TEST_F(CommandsTest, CloseTypesAltF4IntoEachWindow) {
    tick(1);
    tick(2);
    click(Control::PushButton8);
    ASSERT_EQ(sim.keyboard.batches.size(), 2u);
    for (const auto& batch : sim.keyboard.batches) {
        ASSERT_EQ(batch.size(), 4u);
        EXPECT_EQ(batch[0].virtualKey, kVkMenu);
        EXPECT_EQ(batch[1].virtualKey, 0x73);
        EXPECT_EQ(batch[3].flags, kKeyEventKeyUp);
    }
    EXPECT_EQ(sim.recorder.Count("RequestClose"), 0);
}

TEST_F(CommandsTest, CloseByRequestAsksForEachRowsOwnWindowAndTypesNothing) {
    desktop().closesByRequest = true;
    tick(1);
    tick(3);
    click(Control::PushButton8);
    EXPECT_TRUE(sim.keyboard.batches.empty());
    EXPECT_EQ(sim.recorder.Count("RequestClose(" + sim::HexHandle(c) + ")"), 1);
    EXPECT_EQ(sim.recorder.Count("RequestClose(" + sim::HexHandle(a) + ")"), 1);
    EXPECT_EQ(sim.recorder.Count("RequestClose"), 2);
    EXPECT_TRUE(desktop().Exists(b));
}

TEST_P(CloseTest, WaitingSleepsInsteadOfSpinning) {
    tick(1);
    click(Control::PushButton8);
    EXPECT_LE(sim.recorder.Count("WaitForEvents"), 2);
}

TEST_P(CloseTest, EventsKeepRunningDuringTheWait) {
    tick(2);
    bool ran = false;
    runtime().Schedule(runtime().clock + 0.2, [&] { ran = true; });
    click(Control::PushButton8);
    EXPECT_TRUE(ran);
    EXPECT_DOUBLE_EQ(runtime().waited, 0.5);
}

TEST_P(CloseTest, ARenamedWindowIsReportedAndNothingElseIsReached) {
    tick(1);
    tick(3);
    desktop().SetTitle(c, "Gamma (renamed)");
    click(Control::PushButton8);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].rfind(
                  ReportHead("Invalid procedure call or argument", "PushButton8_Click", 106), 0),
              0u);
    EXPECT_EQ(reached(), std::vector<std::string>{"Alpha"});
    EXPECT_TRUE(desktop().Exists(c));
    EXPECT_TRUE(desktop().Exists(b));
    EXPECT_DOUBLE_EQ(runtime().waited, 1.0);  // the failed switch is waited out too
}

TEST_F(CommandsTest, CloseByRequestReportsAGoneWindowAndLeavesAnotherWithItsTitleAlone) {
    desktop().closesByRequest = true;
    tick(1);
    tick(2);
    desktop().Destroy(c);
    const Hwnd namesake = desktop().Create("Gamma");
    desktop().Activate(a);
    click(Control::PushButton8);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("PushButton8_Click at line 106"), std::string::npos);
    EXPECT_TRUE(desktop().Exists(namesake));
    // Not even brought forward.
    EXPECT_EQ(sim.recorder.Count("ActivateWindow(Gamma," + sim::HexHandle(c) + ")"), 0);
    EXPECT_EQ(desktop().closeRequests, std::vector<std::string>{"Beta"});
}

TEST_F(CommandsTest, CloseByRequestLeavesAWindowRenamedWhileBroughtForward) {
    desktop().closesByRequest = true;
    desktop().onActivateWindow = [&](Hwnd window) {
        if (window == c) desktop().SetTitle(c, "Gamma (renamed)");
    };
    tick(1);
    tick(2);
    click(Control::PushButton8);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("PushButton8_Click at line 106"), std::string::npos);
    EXPECT_TRUE(desktop().Exists(c));
    EXPECT_EQ(desktop().closeRequests, std::vector<std::string>{"Beta"});
}

TEST_F(CommandsTest, CloseByRequestReportsARefusedRequestAtLine108AndGoesOn) {
    desktop().closesByRequest = true;
    sim.recorder.Fail("RequestClose", RuntimeError::InvalidProcedureCall());
    tick(1);
    tick(2);
    click(Control::PushButton8);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].rfind(
                  ReportHead("Invalid procedure call or argument", "PushButton8_Click", 108), 0),
              0u);
    EXPECT_TRUE(desktop().Exists(c));
    EXPECT_FALSE(desktop().Exists(b));
}

TEST_P(CloseTest, AWindowThatTakesNoFocusIsClosedOnlyByRequest) {
    desktop().SetTakesFocus(b, false);
    tick(2);
    click(Control::PushButton8);
    if (byRequest()) {
        EXPECT_FALSE(desktop().Exists(b));
        EXPECT_TRUE(reports().empty());
    } else {
        // Alt+F4 would reach whichever window is in front, so none is typed.
        ASSERT_EQ(reports().size(), 1u);
        EXPECT_NE(reports()[0].find("PushButton8_Click at line 106"), std::string::npos);
        EXPECT_TRUE(sim.keyboard.batches.empty());
        EXPECT_TRUE(desktop().Exists(b));
    }
    EXPECT_TRUE(desktop().Exists(a));
    EXPECT_TRUE(desktop().Exists(c));
}

TEST_F(CommandsTest, CloseSendsNoKeysWhenActivationIsRefused) {
    tick(2);
    desktop().refuseActivation = true;
    click(Control::PushButton8);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("PushButton8_Click at line 106"), std::string::npos);
    EXPECT_TRUE(sim.keyboard.batches.empty());
    EXPECT_TRUE(desktop().Exists(b));
    EXPECT_DOUBLE_EQ(runtime().waited, 0.5);
}

// The Windows way checks the window in front before typing Alt+F4; each check on its own.
TEST_F(CommandsTest, ARowTitledLikeTheProgramNeverClosesTheProgramWhenItStaysInFront) {
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

TEST_F(CommandsTest, AnUntickedWindowLeftInFrontGetsNoAltF4) {
    tick(2);
    desktop().refuseActivation = true;
    desktop().Activate(c);
    click(Control::PushButton8);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("PushButton8_Click at line 106"), std::string::npos);
    EXPECT_TRUE(sim.desktop.altF4Received.empty());
    EXPECT_TRUE(desktop().Exists(c));
    EXPECT_TRUE(desktop().Exists(b));
}

TEST_P(CloseTest, AWindowThatDoesNotAnswerIsReportedAndTheWalkGoesOn) {
    tick(1);
    tick(2);
    tick(3);
    // Gamma is in front: a switch that merely left the foreground alone would look successful.
    desktop().Activate(c);
    desktop().SetAnswering(c, false);
    click(Control::PushButton8);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].rfind(
                  ReportHead("Invalid procedure call or argument", "PushButton8_Click", 106), 0),
              0u);
    EXPECT_EQ(reached(), (std::vector<std::string>{"Beta", "Alpha"}));
    EXPECT_TRUE(desktop().Exists(c));
    EXPECT_FALSE(desktop().Exists(b));
    EXPECT_FALSE(desktop().Exists(a));
    EXPECT_DOUBLE_EQ(runtime().waited, 1.5);
    EXPECT_EQ(rowTexts(), std::vector<std::string>{"Gamma"});
}

TEST_P(CloseTest, OfTwoWindowsWithTheRowsTitleTheRowsOwnIsClosed) {
    const Hwnd older = desktop().Create("Report");
    const Hwnd newer = desktop().Create("Report");
    widgets().UserClick(Id(Control::PushButton1));
    ASSERT_EQ(form().RowHandles()[1], older);
    tick(2);
    click(Control::PushButton8);
    EXPECT_FALSE(desktop().Exists(older));
    EXPECT_TRUE(desktop().Exists(newer));
}

TEST_P(CloseTest, TheProgramsOwnWindowIsNeverTheTarget) {
    tick(1);
    desktop().SetTitle(c, "Velmora Suite");
    widgets().UserClick(Id(Control::PushButton1));
    ASSERT_EQ(rows()[0].text, "Velmora Suite");
    tick(1);
    desktop().Destroy(c);
    click(Control::PushButton8);
    EXPECT_EQ(reports().size(), 1u);
    EXPECT_TRUE(sim.keyboard.batches.empty());
    EXPECT_TRUE(desktop().closeRequests.empty());
    EXPECT_EQ(runtime().endCalls, 0);
}

TEST_P(CloseTest, AWindowThatAsksOrRefusesStaysAndOnlyTheTickedAreReached) {
    desktop().SetCloseReaction(c, sim::CloseReaction::AskToSave);
    desktop().SetCloseReaction(b, sim::CloseReaction::Refuse);
    tick(1);
    tick(2);
    click(Control::PushButton8);
    EXPECT_EQ(reached(), (std::vector<std::string>{"Gamma", "Beta"}));
    EXPECT_TRUE(desktop().Exists(c));
    EXPECT_TRUE(desktop().Exists(b));
    EXPECT_TRUE(desktop().Exists(a));
    const std::vector<std::string> texts = rowTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Gamma - Save changes?"), texts.end());
}

TEST_P(CloseTest, RebuildsDuringTheWaitsLeaveTheWalkAsItWasStarted) {
    tick(1);
    tick(2);
    tick(3);
    // Timed refresh fires while the first and the second window's close is awaited.
    runtime().Schedule(runtime().clock + 0.2, [&] { form().PushButton1_Click(); });
    runtime().Schedule(runtime().clock + 0.7, [&] { form().PushButton1_Click(); });
    click(Control::PushButton8);
    EXPECT_EQ(reached(), (std::vector<std::string>{"Gamma", "Beta", "Alpha"}));
    EXPECT_TRUE(rows().empty());
    EXPECT_DOUBLE_EQ(runtime().waited, 1.5);
    EXPECT_TRUE(reports().empty());
}

TEST_P(CloseTest, OnlyTheWindowsTickedAtTheStartAreClosed) {
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
    EXPECT_EQ(reached(), (std::vector<std::string>{"Gamma", "Alpha"}));
    EXPECT_TRUE(desktop().Exists(d));
    EXPECT_TRUE(desktop().Exists(b));
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"Delta", "Beta"}));
}

TEST_P(CloseTest, ATickedWindowIsStillSwitchedToByItsTitleAfterARebuild) {
    tick(1);
    tick(2);
    // Beta takes another title while Gamma's close is awaited, and the list is rebuilt.
    runtime().Schedule(runtime().clock + 0.2, [&] {
        desktop().SetTitle(b, "Beta (changed)");
        form().PushButton1_Click();
    });
    click(Control::PushButton8);
    EXPECT_EQ(reached(), std::vector<std::string>{"Gamma"});
    EXPECT_TRUE(desktop().Exists(b));
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("PushButton8_Click at line 106"), std::string::npos);
}

// A command the desktop cannot carry out (sway has no minimized windows) says so the first
// time and is silent after that; either way it touches no window and no row.
struct Unoffered {
    DesktopCommand command;
    Control button;
    const char* name;
};

struct UnofferedCommandTest : CommandsTest, ::testing::WithParamInterface<Unoffered> {
    UnofferedCommandTest() {
        desktop().notOffered = {GetParam().command};
        desktop().desktopName = "sway";
        for (int row = 1; row <= 3; ++row) tick(row);
        sim.recorder.ClearCalls();
    }
    int windowCalls() const {
        int calls = 0;
        for (const char* call : {"ShowWindow", "ActivateWindow", "RequestClose", "SetWindowPos",
                                 "SendInput", "ClearRows", "SetRowSubItem"}) {
            calls += sim.recorder.Count(call);
        }
        return calls;
    }
};

INSTANTIATE_TEST_SUITE_P(
    EachCommand, UnofferedCommandTest,
    ::testing::Values(Unoffered{DesktopCommand::Hide, Control::PushButton6, "Hide"},
                      Unoffered{DesktopCommand::Show, Control::PushButton7, "Show"},
                      Unoffered{DesktopCommand::Close, Control::PushButton8, "Close"},
                      Unoffered{DesktopCommand::Minimize, Control::PushButton9, "Minimize"},
                      Unoffered{DesktopCommand::Maximize, Control::PushButton10, "Maximize"},
                      Unoffered{DesktopCommand::Restore, Control::PushButton11, "Restore"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(UnofferedCommandTest, SaysSoOnceThenStaysSilentAndTouchesNoWindow) {
    click(GetParam().button);
    ASSERT_EQ(runtime().messages.size(), 1u);
    EXPECT_EQ(runtime().messages[0].text, std::string(GetParam().name) +
                                              " is not available on sway; the checked windows "
                                              "are left as they are.");
    EXPECT_EQ(runtime().messages[0].title, program.globals().AppTitle);
    click(GetParam().button);
    click(GetParam().button);
    EXPECT_EQ(runtime().messages.size(), 1u);
    EXPECT_EQ(windowCalls(), 0);
    for (const Hwnd window : {a, b, c}) {
        EXPECT_TRUE(desktop().Exists(window));
        EXPECT_EQ(state(window), ShowState::Normal);
    }
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(status(row), "Visible");
        EXPECT_TRUE(rows()[row - 1].checked);
    }
}

TEST_P(UnofferedCommandTest, TheOtherCommandsStillActWithoutAWord) {
    // Hide, then Show again, or Maximize and Restore when Hide or Show is the one missing.
    const bool hideMissing = GetParam().command == DesktopCommand::Hide ||
                             GetParam().command == DesktopCommand::Show;
    click(hideMissing ? Control::PushButton10 : Control::PushButton6);
    EXPECT_EQ(state(b), hideMissing ? ShowState::Maximized : ShowState::Hidden);
    click(hideMissing ? Control::PushButton11 : Control::PushButton7);
    EXPECT_EQ(state(b), ShowState::Normal);
    EXPECT_TRUE(runtime().messages.empty());
    EXPECT_TRUE(reports().empty());
}

}  // namespace
}  // namespace velmora::test

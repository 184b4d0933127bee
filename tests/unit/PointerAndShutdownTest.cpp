#include <gtest/gtest.h>

#include "SimProgram.h"

namespace velmora::test {
namespace {

struct PointerTest : ::testing::Test, SimProgram {
    PointerTest() { program.Start(); }
    int pointer() { return widgets().MousePointer(); }
};

TEST_F(PointerTest, ButtonsShowTheCustomPointerAndTheBackgroundTheDefault) {
    for (const Control button : {Control::PushButton1, Control::PushButton6, Control::PushButton13}) {
        widgets().SetMousePointer(vbDefault);
        widgets().UserMouseMove(Id(button));
        EXPECT_EQ(pointer(), vbCustom);
    }
    for (const ControlId background : {kNoParent, Id(Control::Frame1), Id(Control::Frame2),
                                       Id(Control::ListView1)}) {
        widgets().SetMousePointer(vbCustom);
        widgets().UserMouseMove(background);
        EXPECT_EQ(pointer(), vbDefault);
    }
}

TEST_F(PointerTest, OptionsAndTheTextBoxLeaveThePointerAsItWas) {
    // Starting from each pointer the others would set, so that setting either one shows.
    for (const int start : {vbCustom, vbDefault}) {
        widgets().SetMousePointer(start);
        widgets().UserMouseMove(Id(Control::Option2));
        widgets().UserMouseMove(Id(Control::Text1));
        EXPECT_EQ(pointer(), start);
    }
}

TEST_F(PointerTest, TheHourglassIsNeverReplaced) {
    widgets().SetMousePointer(vbHourglass);
    widgets().UserMouseMove(Id(Control::PushButton2));
    widgets().UserMouseMove(Id(Control::Frame1));
    EXPECT_EQ(pointer(), vbHourglass);
}

struct ControlChangeTest : ::testing::Test, SimProgram {
    ControlChangeTest() { program.Start(); }
};

TEST_F(ControlChangeTest, EveryEditOfTheIntervalIsSaved) {
    widgets().UserType(Id(Control::Text1), "2");
    EXPECT_EQ(runtime().Setting("Text1"), "2");
    widgets().UserType(Id(Control::Text1), "2x");
    EXPECT_EQ(runtime().Setting("Text1"), "2x");
}

TEST_F(ControlChangeTest, ClickingAnOptionSelectsItAloneAndSavesItsPair) {
    widgets().UserClick(Id(Control::Option2));
    EXPECT_FALSE(control(Control::Option1).value);
    EXPECT_TRUE(control(Control::Option2).value);
    EXPECT_EQ(runtime().Setting("Option1"), "False");
    EXPECT_EQ(runtime().Setting("Option2"), "True");
    EXPECT_TRUE(control(Control::Option3).value);  // the other frame is untouched

    widgets().UserClick(Id(Control::Option4));
    EXPECT_EQ(runtime().Setting("Option3"), "False");
    EXPECT_EQ(runtime().Setting("Option4"), "True");
    EXPECT_TRUE(control(Control::Text1).enabled);

    widgets().UserClick(Id(Control::Option3));
    EXPECT_FALSE(control(Control::Text1).enabled);
}

TEST_F(ControlChangeTest, ClickingTheSelectedOptionSavesAgain) {
    runtime().settings.clear();
    widgets().UserClick(Id(Control::Option1));
    EXPECT_EQ(runtime().Setting("Option1"), "True");
    EXPECT_EQ(runtime().Setting("Option2"), "False");
}

TEST_F(ControlChangeTest, AFailingHandlerIsReportedInsteadOfEndingTheProgram) {
    sim.recorder.Fail("SaveSetting", RuntimeError(70, "Permission denied"));
    widgets().UserType(Id(Control::Text1), "5");
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].rfind(ReportHead("Permission denied", "Text1_Change", 0), 0), 0u);
}

struct ShutdownTest : ::testing::Test, SimProgram {
    ShutdownTest() { program.Start(); }
};

TEST_F(ShutdownTest, TheIconGoesThenPendingEventsRunTwiceThenTheProgramEnds) {
    std::vector<std::string> order;
    runtime().Post([&] {
        order.push_back("first pass");
        runtime().Post([&] { order.push_back("second pass"); });
    });
    sim.recorder.ClearCalls();
    widgets().UserClose();
    EXPECT_EQ(order, (std::vector<std::string>{"first pass", "second pass"}));
    EXPECT_EQ(sim.recorder.Calls(),
              (std::vector<std::string>{"NotifyIcon(2,0x0)", "SetWindowProc(0xFF0010)",
                                        "DoEvents()", "DoEvents()", "End()"}));
    EXPECT_TRUE(sim.shell.icons.empty());
    EXPECT_EQ(runtime().endCalls, 1);
}

TEST_F(ShutdownTest, SavesNothingAndEndsEvenWhenPumpingFails) {
    runtime().settings.clear();
    sim.recorder.Fail("DoEvents", RuntimeError(5, "Invalid procedure call or argument"), 2);
    widgets().UserClose();
    EXPECT_EQ(reports().size(), 2u);
    EXPECT_EQ(runtime().endCalls, 1);
    EXPECT_TRUE(runtime().settings.empty());
}

TEST_F(ShutdownTest, AClosedProgramRunsNoFurtherHandler) {
    widgets().UserClose();
    sim.recorder.ClearCalls();
    widgets().UserClick(Id(Control::PushButton1));
    widgets().UserKeyDown('L', 3);
    widgets().UserClose();
    EXPECT_TRUE(sim.recorder.Calls().empty());
    EXPECT_EQ(runtime().endCalls, 1);
}

// A close request handled inside Close's wait ends the program there: the walk over the ticked
// windows stops, and neither the rebuild at its end nor any later pending event runs.
TEST_F(ShutdownTest, AClosedProgramEndsTheCloseCommandItInterrupted) {
    const Hwnd first = desktop().Create("Alpha");
    const Hwnd second = desktop().Create("Beta");
    widgets().UserClick(Id(Control::PushButton1));
    widgets().UserCheckRow(Id(Control::ListView1), 1, true);
    widgets().UserCheckRow(Id(Control::ListView1), 2, true);
    runtime().Post([&] { widgets().UserClose(); });
    bool laterEventRan = false;
    runtime().Post([&] { runtime().Post([&] { laterEventRan = true; }); });
    sim.recorder.ClearCalls();
    widgets().UserClick(Id(Control::PushButton8));
    EXPECT_EQ(sim.desktop.altF4Received, (std::vector<std::string>{"Beta"}));
    EXPECT_FALSE(desktop().Exists(second));
    EXPECT_TRUE(desktop().Exists(first));
    EXPECT_EQ(sim.recorder.Count("ClearRows"), 0);
    EXPECT_FALSE(laterEventRan);
    EXPECT_EQ(runtime().endCalls, 1);
    EXPECT_TRUE(reports().empty());
}

}  // namespace
}  // namespace velmora::test

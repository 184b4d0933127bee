#include <gtest/gtest.h>

#include "SimProgram.h"

namespace velmora::test {
namespace {

struct LoadWindowsTest : ::testing::Test, SimProgram {
    void check(int row) { widgets().UserCheckRow(Id(Control::ListView1), row, true); }
};

TEST_F(LoadWindowsTest, StartUpListsTheDesktopInZOrderWithStatusVisible) {
    const Hwnd a = desktop().Create("Alpha");
    const Hwnd b = desktop().Create("Beta");
    desktop().Create("Hidden", sim::kWsCaption, sim::ShowState::Hidden);
    program.Start();
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"Beta", "Alpha"}));
    EXPECT_EQ(form().RowHandles(), (std::vector<Hwnd>{b, a}));
    for (const auto& row : rows()) {
        EXPECT_FALSE(row.checked);
        EXPECT_EQ(row.subItems, std::vector<std::string>{"Visible"});
    }
}

TEST_F(LoadWindowsTest, TheMainWindowIsNeverARowHiddenOrShown) {
    desktop().Create("Editor");
    program.Start();
    EXPECT_EQ(rowTexts(), std::vector<std::string>{"Editor"});
    widgets().UserClick(Id(Control::PushButton1));
    EXPECT_EQ(rowTexts(), std::vector<std::string>{"Editor"});
}

TEST_F(LoadWindowsTest, RefreshOverAnUnchangedDesktopGivesTheSameRowsUnchecked) {
    desktop().Create("One");
    desktop().Create("Two");
    program.Start();
    const auto before = form().RowHandles();
    check(1);
    check(2);
    widgets().SetRowSubItem(Id(Control::ListView1), 1, 1, "Hidden");
    widgets().UserClick(Id(Control::PushButton1));
    EXPECT_EQ(form().RowHandles(), before);
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"Two", "One"}));
    for (const auto& row : rows()) {
        EXPECT_FALSE(row.checked);
        EXPECT_EQ(row.subItems[0], "Visible");
    }
}

TEST_F(LoadWindowsTest, RefreshShowsNewWindowsAndDropsHiddenOnes) {
    const Hwnd old = desktop().Create("Old");
    program.Start();
    const Hwnd fresh = desktop().Create("Fresh");
    desktop().SetState(old, sim::ShowState::Hidden);
    widgets().UserClick(Id(Control::PushButton1));
    EXPECT_EQ(form().RowHandles(), std::vector<Hwnd>{fresh});
}

TEST_F(LoadWindowsTest, DuplicateTitlesGiveTwoRowsWithTheirOwnHandles) {
    const Hwnd first = desktop().Create("Untitled - Notepad");
    const Hwnd second = desktop().Create("Untitled - Notepad");
    program.Start();
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"Untitled - Notepad", "Untitled - Notepad"}));
    EXPECT_EQ(form().RowHandles(), (std::vector<Hwnd>{second, first}));
}

TEST_F(LoadWindowsTest, ExactlyOneThousandAndOneWindowsAreAllListedWithoutAReport) {
    for (int i = 0; i < 1001; ++i) desktop().Create("Window " + std::to_string(i));
    program.Start();
    EXPECT_EQ(rows().size(), 1001u);
    EXPECT_EQ(form().RowHandles().size(), 1001u);
    EXPECT_TRUE(reports().empty());
}

TEST_F(LoadWindowsTest, MoreThan1001WindowsGiveOneReportAndTheTopmost1001Rows) {
    for (int i = 0; i < 1003; ++i) desktop().Create("Window " + std::to_string(i));
    program.Start();
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].rfind(ReportHead("Subscript out of range", "loadWindows", 100), 0), 0u);
    ASSERT_EQ(rows().size(), 1001u);
    EXPECT_EQ(rows().front().text, "Window 1002");
    EXPECT_EQ(rows().back().text, "Window 2");
}

TEST_F(LoadWindowsTest, ARowThatCannotBeAddedTakesNoHandle) {
    const Hwnd a = desktop().Create("A");
    desktop().Create("B");
    const Hwnd c = desktop().Create("C");
    sim.recorder.Fail("AddRow", RuntimeError::OutOfMemory(), 1, 1);
    program.Start();
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].rfind(ReportHead("Out of memory", "loadWindows", 112), 0), 0u);
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"C", "A"}));
    EXPECT_EQ(form().RowHandles(), (std::vector<Hwnd>{c, a}));
    EXPECT_EQ(rows()[1].subItems[0], "Visible");
}

TEST_F(LoadWindowsTest, AFailedStatusIsReportedAndTheRowStays) {
    desktop().Create("A");
    desktop().Create("B");
    sim.recorder.Fail("SetRowSubItem", RuntimeError::IndexOutOfBounds());
    program.Start();
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("loadWindows at line 114"), std::string::npos);
    EXPECT_EQ(rows().size(), 2u);
    EXPECT_EQ(form().RowHandles().size(), 2u);
    EXPECT_EQ(rows()[1].subItems[0], "Visible");
}

TEST_F(LoadWindowsTest, AFailedClearIsReportedAndTheRebuildGoesOn) {
    const Hwnd a = desktop().Create("A");
    program.Start();
    sim.recorder.Fail("ClearRows", RuntimeError(5, "Invalid procedure call or argument"));
    widgets().UserClick(Id(Control::PushButton1));
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("loadWindows at line 102"), std::string::npos);
    // The old row stays and the new one follows; every row keeps its own window's handle.
    ASSERT_EQ(rows().size(), 2u);
    EXPECT_EQ(form().RowHandles(), (std::vector<Hwnd>{a, a}));
    EXPECT_EQ(rows()[1].subItems[0], "Visible");
}

TEST_F(LoadWindowsTest, AWindowDestroyedDuringTheWalkEndsItWithTheRowsFoundSoFar) {
    desktop().Create("Below");
    const Hwnd doomed = desktop().Create("Doomed");
    desktop().Create("Above");
    program.Start();
    desktop().beforeGetWindow = [&](Hwnd window, unsigned command) {
        if (window == doomed && command == kGwHwndNext) desktop().Destroy(doomed);
    };
    widgets().UserClick(Id(Control::PushButton1));
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"Above", "Doomed"}));
    EXPECT_EQ(form().RowHandles().size(), 2u);
    EXPECT_TRUE(reports().empty());
}

}  // namespace
}  // namespace velmora::test

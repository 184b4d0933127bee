#include <gtest/gtest.h>

#include "SimProgram.h"

namespace velmora::test {
namespace {

struct SelectionTest : ::testing::Test, SimProgram {
    SelectionTest() {
        for (const char* title : {"Notepad", "Release NOTES", "Calculator", "ωμεγα report",
                                  "Two  spaces", "Привет"}) {
            desktop().Create(title);
        }
        program.Start();
    }
    void tick(int row) { widgets().UserCheckRow(Id(Control::ListView1), row, true); }
    int rowOf(const std::string& title) const {
        const auto texts = rowTexts();
        return static_cast<int>(std::find(texts.begin(), texts.end(), title) - texts.begin()) + 1;
    }
    std::vector<std::string> ticked() const {
        std::vector<std::string> titles;
        for (const auto& row : rows()) {
            if (row.checked) titles.push_back(row.text);
        }
        std::sort(titles.begin(), titles.end());
        return titles;
    }
    void filter(Control button, std::string x) {
        runtime().inputAnswers.push_back(std::move(x));
        widgets().UserClick(Id(button));
    }
};

TEST_F(SelectionTest, CheckAllAndUncheckAllSetEveryRow) {
    widgets().UserClick(Id(Control::PushButton2));
    EXPECT_EQ(ticked().size(), rows().size());
    widgets().UserClick(Id(Control::PushButton3));
    EXPECT_TRUE(ticked().empty());
    EXPECT_EQ(sim.recorder.Count("ShowWindow"), 0);
}

TEST_F(SelectionTest, ContainingTicksMatchesIgnoringCaseAndKeepsOtherTicks) {
    tick(rowOf("Calculator"));
    filter(Control::PushButton4, "note");
    EXPECT_EQ(ticked(), (std::vector<std::string>{"Calculator", "Notepad", "Release NOTES"}));
    ASSERT_EQ(runtime().inputPrompts.size(), 1u);
    EXPECT_EQ(runtime().inputPrompts[0], "Enter X:");
    EXPECT_EQ(sim.recorder.Count("InputBox(Velmora)"), 1);
}

TEST_F(SelectionTest, CaseIsIgnoredBeyondAscii) {
    filter(Control::PushButton4, "ΩΜΕΓΑ");
    filter(Control::PushButton4, "ПРИВ");
    EXPECT_EQ(ticked(), (std::vector<std::string>{"ωμεγα report", "Привет"}));
}

TEST_F(SelectionTest, NotContainingTicksEveryRowWithoutX) {
    filter(Control::PushButton5, "note");
    EXPECT_EQ(ticked(), (std::vector<std::string>{"Calculator", "Two  spaces", "ωμεγα report",
                                                  "Привет"}));
    widgets().UserClick(Id(Control::PushButton3));
    filter(Control::PushButton5, "no title has this");
    EXPECT_EQ(ticked().size(), rows().size());
}

TEST_F(SelectionTest, XIsUsedExactlyAsTypedIncludingSpaces) {
    filter(Control::PushButton4, "  ");
    EXPECT_EQ(ticked(), std::vector<std::string>{"Two  spaces"});
}

TEST_F(SelectionTest, CancelOrAnEmptyAnswerChangesNothing) {
    tick(1);
    widgets().UserClick(Id(Control::PushButton4));  // no answer queued: Cancel
    filter(Control::PushButton5, "");
    EXPECT_EQ(ticked(), std::vector<std::string>{rows()[0].text});
    EXPECT_EQ(runtime().inputPrompts.size(), 2u);
    EXPECT_EQ(sim.recorder.Count("RowText"), 0);
}

TEST_F(SelectionTest, OnlyTheTitleColumnIsSearched) {
    filter(Control::PushButton4, "Visible");
    EXPECT_TRUE(ticked().empty());
}

TEST(SelectionOnAnEmptyList, AsksForXAndChangesNothing) {
    SimProgram p;
    p.program.Start();
    p.widgets().UserClick(Id(Control::PushButton2));
    p.runtime().inputAnswers.push_back("x");
    p.widgets().UserClick(Id(Control::PushButton4));
    EXPECT_EQ(p.runtime().inputPrompts.size(), 1u);
    EXPECT_TRUE(p.rows().empty());
    EXPECT_TRUE(p.reports().empty());
}

}  // namespace
}  // namespace velmora::test

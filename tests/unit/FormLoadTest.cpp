#include <gtest/gtest.h>

#include "SimProgram.h"

namespace velmora::test {
namespace {

struct FormLoadTest : ::testing::Test, SimProgram {
    void store(const char* key, const char* value) { runtime().PutSetting(key, value); }
    bool selected(Control option) const { return control(option).value; }
    bool text1Enabled() const { return control(Control::Text1).enabled; }
};

TEST_F(FormLoadTest, SetsCaptionTitleColumnsAndShowsTheWindowLast) {
    program.Start();
    EXPECT_EQ(sim.recorder.Calls().back(), "ShowForm()");
    EXPECT_EQ(widgets().Caption(), "Velmora Suite");
    EXPECT_EQ(program.globals().AppTitle, "Velmora");
    EXPECT_EQ(widgets().IconSets(), 2);
    const auto& columns = control(Control::ListView1).columns;
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0].heading, "Open Windows");
    EXPECT_EQ(columns[0].widthTwips, 5800);
    EXPECT_EQ(columns[1].heading, "Status");
    EXPECT_EQ(columns[1].widthTwips, 1300);
    EXPECT_EQ(program.globals().MainWindowHandle, widgets().FormHandle());
    EXPECT_EQ(desktop().Window(widgets().FormHandle()).state, sim::ShowState::Normal);
    EXPECT_TRUE(reports().empty());
}

TEST_F(FormLoadTest, AnEmptyStoreGivesTheDefaultsAndWritesNothing) {
    program.Start();
    EXPECT_TRUE(selected(Control::Option1));
    EXPECT_FALSE(selected(Control::Option2));
    EXPECT_TRUE(selected(Control::Option3));
    EXPECT_FALSE(selected(Control::Option4));
    EXPECT_EQ(control(Control::Text1).text, "1");
    EXPECT_FALSE(text1Enabled());
    EXPECT_TRUE(runtime().settings.empty());
    EXPECT_TRUE(reports().empty());
}

TEST_F(FormLoadTest, StoredChoicesSelectTheirOptionsAndAreSavedAgain) {
    store("Option1", "False");
    store("Option2", "True");
    store("Option3", "False");
    store("Option4", "True");
    store("Text1", "2,5");
    program.Start();
    EXPECT_FALSE(selected(Control::Option1));
    EXPECT_TRUE(selected(Control::Option2));
    EXPECT_FALSE(selected(Control::Option3));
    EXPECT_TRUE(selected(Control::Option4));
    EXPECT_EQ(control(Control::Text1).text, "2,5");
    EXPECT_TRUE(text1Enabled());
    EXPECT_EQ(runtime().Setting("Option1"), "False");
    EXPECT_EQ(runtime().Setting("Option2"), "True");
    EXPECT_EQ(runtime().Setting("Option4"), "True");
    EXPECT_EQ(runtime().Setting("Text1"), "2,5");
    EXPECT_TRUE(reports().empty());
}

TEST_F(FormLoadTest, NumbersAreAcceptedAsStoredTruthValues) {
    store("Option1", "0");
    store("Option2", "-1");
    store("Option3", "0");
    store("Option4", "1");
    program.Start();
    EXPECT_FALSE(selected(Control::Option1));
    EXPECT_TRUE(selected(Control::Option2));
    EXPECT_TRUE(selected(Control::Option4));
    // The click handling of the newly selected options writes the pairs as words.
    EXPECT_EQ(runtime().Setting("Option2"), "True");
    EXPECT_EQ(runtime().Setting("Option3"), "False");
}

TEST_F(FormLoadTest, BothOptionsOfAPairStoredFalseEndCleared) {
    store("Option1", "False");
    store("Option2", "False");
    store("Option3", "False");
    store("Option4", "False");
    program.Start();
    EXPECT_FALSE(selected(Control::Option1));
    EXPECT_FALSE(selected(Control::Option2));
    EXPECT_FALSE(selected(Control::Option3));
    EXPECT_FALSE(selected(Control::Option4));
    EXPECT_TRUE(text1Enabled());
    EXPECT_EQ(sim.recorder.Count("SetEnabled"), 0);
    EXPECT_TRUE(reports().empty());
}

struct GarbageOption {
    const char* key;
    Control option;
    bool designState;
    int line;
};

struct GarbageOptionTest : FormLoadTest, ::testing::WithParamInterface<GarbageOption> {};

TEST_P(GarbageOptionTest, IsReportedAtItsStatementAndTheOptionKeepsItsState) {
    const GarbageOption& g = GetParam();
    store(g.key, "maybe");
    program.Start();
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].rfind(ReportHead("Type mismatch", "Form_Load", g.line), 0), 0u)
        << reports()[0];
    EXPECT_EQ(selected(g.option), g.designState);
    EXPECT_EQ(runtime().Setting(g.key), "maybe");
}

INSTANTIATE_TEST_SUITE_P(EachOptionKey, GarbageOptionTest,
                         ::testing::Values(GarbageOption{"Option1", Control::Option1, true, 142},
                                           GarbageOption{"Option2", Control::Option2, false, 144},
                                           GarbageOption{"Option3", Control::Option3, true, 555},
                                           GarbageOption{"Option4", Control::Option4, false, 556}),
                         [](const auto& info) { return std::string(info.param.key); });

TEST_F(FormLoadTest, AStoredIntervalThatIsNotANumberIsShownUnchanged) {
    store("Text1", "abc");
    program.Start();
    EXPECT_EQ(control(Control::Text1).text, "abc");
    EXPECT_TRUE(runtime().messages.empty());
}

TEST_F(FormLoadTest, APresentCursorFileBecomesTheCustomPointer) {
    runtime().files["C:\\Program Files\\Velmora Suite\\HAND-M.CUR"] =
        std::string(sim::kCursorFileHeader) + "pixels";
    program.Start();
    EXPECT_NE(widgets().MouseIcon(), 0u);
    EXPECT_TRUE(reports().empty());
}

TEST_F(FormLoadTest, AMissingCursorFileIsNoError) {
    program.Start();
    EXPECT_EQ(sim.recorder.Count("LoadPicture"), 0);
    EXPECT_EQ(widgets().MouseIcon(), 0u);
    EXPECT_TRUE(runtime().messages.empty());
}

TEST_F(FormLoadTest, AnUnloadableCursorFileIsReportedAndStartUpGoesOn) {
    runtime().files["C:\\Program Files\\Velmora Suite\\HAND-M.CUR"] = "not a cursor";
    desktop().Create("Notepad");
    program.Start();
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].rfind(ReportHead("Invalid picture", "Form_Load", 108), 0), 0u);
    EXPECT_EQ(widgets().MouseIcon(), 0u);
    EXPECT_EQ(rowTexts(), std::vector<std::string>{"Notepad"});
    EXPECT_EQ(control(Control::ListView1).columns.size(), 2u);
}

TEST_F(FormLoadTest, AFailedCursorTestStillTriesTheLoad) {
    // The skin step asks for the program's folder first; the cursor test is the second asker.
    sim.recorder.Fail("AppPath", RuntimeError(52, "Bad file name or number"), 1, 1);
    program.Start();
    ASSERT_EQ(reports().size(), 2u);
    EXPECT_NE(reports()[0].find("Form_Load at line 106"), std::string::npos);
    EXPECT_EQ(reports()[1].rfind(ReportHead("File not found", "Form_Load", 108), 0), 0u);
}

struct FailingStep {
    const char* operation;
    int line;
};

struct FailingStepTest : FormLoadTest, ::testing::WithParamInterface<FailingStep> {};

TEST_P(FailingStepTest, IsReportedWithItsNumberAndStartUpGoesOn) {
    desktop().Create("Notepad");
    store("Text1", "7");
    sim.recorder.Fail(GetParam().operation, RuntimeError(5, "Invalid procedure call or argument"));
    program.Start();
    ASSERT_GE(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("Form_Load at line " + std::to_string(GetParam().line)),
              std::string::npos)
        << reports()[0];
    EXPECT_EQ(rowTexts(), std::vector<std::string>{"Notepad"});
    EXPECT_EQ(sim.recorder.Calls().back(), "ShowForm()");
}

INSTANTIATE_TEST_SUITE_P(EachStep, FailingStepTest,
                         ::testing::Values(FailingStep{"SetFormCaption", 102},
                                           FailingStep{"AddColumn", 126},
                                           FailingStep{"SetColumnWidth", 130},
                                           FailingStep{"SetText", 154}),
                         [](const auto& info) { return std::string(info.param.operation); });

TEST_F(FormLoadTest, AFailedReadOfTheRefreshOptionDisablesTheIntervalField) {
    store("Option3", "False");
    store("Option4", "False");
    // With both stored false, the first option read after Option4's key is the test at 160.
    sim.recorder.Fail("Value", RuntimeError(5, "Invalid procedure call or argument"), 1, 0,
                      "GetSetting(Option4)");
    program.Start();
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("Form_Load at line 160"), std::string::npos) << reports()[0];
    EXPECT_FALSE(text1Enabled());
}

}  // namespace
}  // namespace velmora::test

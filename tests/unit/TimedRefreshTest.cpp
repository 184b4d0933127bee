#include <gtest/gtest.h>

#include "SimProgram.h"

namespace velmora::test {
namespace {

constexpr ControlId kTimer = Id(Control::Timer1);
constexpr ControlId kText1 = Id(Control::Text1);

struct TimedRefreshTest : ::testing::Test, SimProgram {
    void start() {
        desktop().Create("Window");
        program.Start();
    }
    int interval() const { return sim.widgets.TimerInterval(kTimer); }
    int rebuilds() const { return sim.recorder.Count("ClearRows"); }
    void run(double seconds) { widgets().RunTimers(seconds); }
    void type(const char* text) {
        widgets().UserFocus(kText1);
        widgets().UserType(kText1, text);
    }
    void leave() { widgets().UserFocus(Id(Control::PushButton1)); }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& m : sim.runtime.messages) texts.push_back(m.text);
        return texts;
    }
};

TEST_F(TimedRefreshTest, ManualRefreshHasNoTimerAtAll) {
    start();
    EXPECT_EQ(interval(), 0);
    const int before = rebuilds();
    run(10);
    EXPECT_EQ(rebuilds(), before);
}

TEST_F(TimedRefreshTest, TimedRefreshRebuildsOncePerInterval) {
    start();
    widgets().UserClick(Id(Control::Option4));
    EXPECT_EQ(interval(), 1000);
    EXPECT_EQ(runtime().Setting("Option3"), "False");
    EXPECT_EQ(runtime().Setting("Option4"), "True");
    const int before = rebuilds();
    run(0.95);
    EXPECT_EQ(rebuilds(), before);
    run(0.1);
    EXPECT_EQ(rebuilds(), before + 1);
    run(3.0);
    EXPECT_EQ(rebuilds(), before + 4);
}

// The timer goes off when a rebuild is due, not in between to look at the clock.
TEST_F(TimedRefreshTest, TheTimerWakesTheProgramOnlyWhenARebuildIsDue) {
    start();
    widgets().UserClick(Id(Control::Option4));
    const long long before = widgets().TimerWakeUps();
    run(10.05);
    EXPECT_EQ(widgets().TimerWakeUps() - before, 10);
}

TEST_F(TimedRefreshTest, AnIntervalLongerThanAnHourIsReachedInHourlySteps) {
    start();
    widgets().SetText(kText1, "7200");
    widgets().UserClick(Id(Control::Option4));
    EXPECT_EQ(interval(), 3600 * 1000);
    const int before = rebuilds();
    run(7199);
    EXPECT_EQ(rebuilds(), before);
    EXPECT_EQ(interval(), 3600 * 1000);
    run(1.5);
    EXPECT_EQ(rebuilds(), before + 1);
    EXPECT_EQ(widgets().TimerWakeUps(), 2);
}

TEST_F(TimedRefreshTest, EachRebuildReArmsFromTheTextAsItReadsThen) {
    start();
    widgets().UserClick(Id(Control::Option4));
    widgets().SetText(kText1, "3");  // changed without the field taking the focus
    run(1.05);
    const int afterFirst = rebuilds();
    run(2.9);
    EXPECT_EQ(rebuilds(), afterFirst);
    run(0.2);
    EXPECT_EQ(rebuilds(), afterFirst + 1);
}

TEST_F(TimedRefreshTest, FractionsOfASecondAreHonoured) {
    runtime().PutSetting("Text1", "0.5");
    start();
    widgets().UserClick(Id(Control::Option4));
    const int before = rebuilds();
    run(0.55);
    EXPECT_EQ(rebuilds(), before + 1);
}

TEST_F(TimedRefreshTest, ManualRefreshDisarmsAndDisablesTheField) {
    start();
    widgets().UserClick(Id(Control::Option4));
    widgets().UserClick(Id(Control::Option3));
    EXPECT_EQ(interval(), 0);
    EXPECT_FALSE(control(Control::Text1).enabled);
    EXPECT_EQ(runtime().Setting("Option3"), "True");
    EXPECT_EQ(runtime().Setting("Option4"), "False");
}

TEST_F(TimedRefreshTest, FocusInTheFieldStopsTheTimerAndLeavingRestartsIt) {
    start();
    widgets().UserClick(Id(Control::Option4));
    widgets().UserFocus(kText1);
    EXPECT_EQ(interval(), 0);
    leave();
    EXPECT_EQ(interval(), 1000);
}

struct TooShortInterval : TimedRefreshTest, ::testing::WithParamInterface<const char*> {};

TEST_P(TooShortInterval, BecomesHalfASecondWhenTheFieldIsLeft) {
    start();
    widgets().UserClick(Id(Control::Option4));
    type(GetParam());
    leave();
    EXPECT_EQ(control(Control::Text1).text, "0.5");
    EXPECT_EQ(runtime().Setting("Text1"), "0.5");
    EXPECT_EQ(interval(), 500);
}

// A short value saved on the way to another one (the text is saved on every keystroke) arms
// the timer for half a second, and the text stays as it was typed.
TEST_P(TooShortInterval, StoredAtStartUpArmsForHalfASecond) {
    runtime().PutSetting("Option3", "False");
    runtime().PutSetting("Option4", "True");
    runtime().PutSetting("Text1", GetParam());
    start();
    EXPECT_EQ(control(Control::Text1).text, GetParam());
    const int before = rebuilds();
    run(0.45);
    EXPECT_EQ(rebuilds(), before);
    run(0.1);
    EXPECT_EQ(rebuilds(), before + 1);
    run(0.3);
    EXPECT_EQ(rebuilds(), before + 1);
    EXPECT_EQ(control(Control::Text1).text, GetParam());
    EXPECT_EQ(runtime().Setting("Text1"), GetParam());
    EXPECT_TRUE(messages().empty());
}

INSTANTIATE_TEST_SUITE_P(ZeroNegativeAndFraction, TooShortInterval,
                         ::testing::Values("0", "-1", "0.2"));

TEST_F(TimedRefreshTest, TooShortUnderACommaLocaleStillReadsHalfASecond) {
    runtime().decimalSeparator = ',';
    start();
    widgets().UserClick(Id(Control::Option4));
    type("0,1");
    leave();
    EXPECT_EQ(control(Control::Text1).text, "0.5");
    const int before = rebuilds();
    run(0.55);
    EXPECT_EQ(rebuilds(), before + 1);
}

struct SeparatorCase {
    char localeSeparator;
    const char* typed;
};

struct IntervalNotationTest : TimedRefreshTest, ::testing::WithParamInterface<SeparatorCase> {};

TEST_P(IntervalNotationTest, EitherSeparatorReadsAsTwoAndAHalfSeconds) {
    runtime().decimalSeparator = GetParam().localeSeparator;
    start();
    widgets().UserClick(Id(Control::Option4));
    type(GetParam().typed);
    leave();
    EXPECT_TRUE(messages().empty());
    const int before = rebuilds();
    run(2.45);
    EXPECT_EQ(rebuilds(), before);
    run(0.1);
    EXPECT_EQ(rebuilds(), before + 1);
}

INSTANTIATE_TEST_SUITE_P(BothLocales, IntervalNotationTest,
                         ::testing::Values(SeparatorCase{'.', "2.5"}, SeparatorCase{'.', "2,5"},
                                           SeparatorCase{',', "2.5"}, SeparatorCase{',', "2,5"}));

TEST_F(TimedRefreshTest, AnIntervalThatIsNotANumberIsRefusedAndKept) {
    start();
    widgets().UserClick(Id(Control::Option4));
    type("abc");
    leave();
    EXPECT_EQ(messages(), std::vector<std::string>{"Must be a numeric value."});
    EXPECT_EQ(runtime().messages[0].title, "Velmora");
    EXPECT_EQ(widgets().Focused(), kText1);
    EXPECT_EQ(interval(), 0);
    EXPECT_EQ(runtime().Setting("Text1"), "abc");
}

TEST_F(TimedRefreshTest, LeavingTheFieldUnderManualRefreshChecksNothing) {
    start();
    type("abc");
    leave();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(interval(), 0);
}

struct UnusableInterval : TimedRefreshTest, ::testing::WithParamInterface<const char*> {};

TEST_P(UnusableInterval, IsRefusedOnEveryPathAndNeverArmsTheTimer) {
    runtime().PutSetting("Text1", GetParam());
    start();
    widgets().UserClick(Id(Control::Option4));
    EXPECT_EQ(messages(), std::vector<std::string>{"Must be a numeric value."});
    EXPECT_EQ(interval(), 0);
}

INSTANTIATE_TEST_SUITE_P(OptionClick, UnusableInterval,
                         ::testing::Values("abc", "", "1e300", "9e11", "-9e11"));

TEST_F(TimedRefreshTest, AnUnusableStoredIntervalAtStartUpLeavesTimedRefreshOff) {
    runtime().PutSetting("Option3", "False");
    runtime().PutSetting("Option4", "True");
    runtime().PutSetting("Text1", "1e300");
    start();
    EXPECT_EQ(messages(), (std::vector<std::string>{"Must be a numeric value.",
                                                    "Must be a numeric value."}));
    EXPECT_EQ(interval(), 0);
    EXPECT_TRUE(control(Control::Option4).value);
}

TEST_F(TimedRefreshTest, AnIntervalMadeUnusableBeforeATickStopsTimedRefresh) {
    start();
    widgets().UserClick(Id(Control::Option4));
    widgets().SetText(kText1, "1e300");
    const int before = rebuilds();
    run(1.05);
    EXPECT_EQ(rebuilds(), before + 1);
    EXPECT_EQ(interval(), 0);
    EXPECT_EQ(messages(), std::vector<std::string>{"Must be a numeric value."});
}

TEST_F(TimedRefreshTest, AFailedRebuildIsReportedAndTimedRefreshGoesOn) {
    start();
    widgets().UserClick(Id(Control::Option4));
    sim.recorder.Fail("FormHandle", RuntimeError(5, "Invalid procedure call or argument"));
    run(1.05);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_NE(reports()[0].find("loadWindows at line 100"), std::string::npos);
    EXPECT_EQ(interval(), 1000);
}

TEST(InformationButtons, ShowTheirTextsUnderTheApplicationTitle) {
    SimProgram p;
    p.program.Start();
    p.widgets().UserClick(Id(Control::PushButton12));
    p.widgets().UserClick(Id(Control::PushButton13));
    ASSERT_EQ(p.runtime().messages.size(), 2u);
    EXPECT_EQ(p.runtime().messages[0].text,
              "Questions? Please contact Team Quillfern at https://www.quillfern.com/contact");
    EXPECT_EQ(p.runtime().messages[1].text,
              "Hidden windows would disappear from the list when Refresh occurs. Please be "
              "careful.");
    for (const auto& box : p.runtime().messages) {
        EXPECT_EQ(box.title, "Velmora");
        EXPECT_EQ(box.style, vbOKOnly);
    }
}

}  // namespace
}  // namespace velmora::test

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "app/ErrorTrap.h"
#include "platform/sim/SimPlatform.h"

namespace velmora {
namespace {

struct ErrorTrapTest : ::testing::Test {
    sim::SimPlatform sim;
    ErrorTrap trap{sim.runtime, "Form1", "PushButton6_Click"};
};

TEST_F(ErrorTrapTest, ReportHasTheExactTextStyleAndTitle) {
    trap(106, [] { throw RuntimeError::SubscriptOutOfRange(); });
    ASSERT_EQ(sim.runtime.messages.size(), 1u);
    const auto& box = sim.runtime.messages[0];
    EXPECT_EQ(box.text,
              "Subscript out of range\r\nin Velmora2021/08/31.Form1.PushButton6_Click at line "
              "106\r\rPlease email screenshot of this message to support@quillfern.com");
    EXPECT_EQ(box.style, 48);
    EXPECT_EQ(box.title, "Application Error");
}

TEST_F(ErrorTrapTest, ExecutionResumesAtTheNextStatement) {
    std::vector<int> ran;
    trap(100, [&] { ran.push_back(100); });
    trap(102, [&] {
        if (ran.size() == 1) throw RuntimeError::Overflow();
        ran.push_back(-1);
    });
    trap(104, [&] { ran.push_back(104); });
    EXPECT_EQ(ran, (std::vector<int>{100, 104}));
    EXPECT_EQ(sim.runtime.messages.size(), 1u);
}

TEST_F(ErrorTrapTest, AFailingIfTestRunsItsBranch) {
    EXPECT_TRUE(trap.test(146, []() -> bool { throw RuntimeError::TypeMismatch(); }));
    EXPECT_TRUE(trap.test(148, [] { return true; }));
    EXPECT_FALSE(trap.test(150, [] { return false; }));
    ASSERT_EQ(sim.runtime.messages.size(), 1u);
    EXPECT_NE(sim.runtime.messages[0].text.find("at line 146"), std::string::npos);
}

TEST_F(ErrorTrapTest, ACalleeWithoutATrapIsReportedAtTheCallersStatement) {
    const auto calleeWithoutTrap = [](Runtime& runtime) { runtime.LoadPicture("missing.cur"); };
    sim.runtime.files["missing.cur"] = "not a cursor";
    trap(108, [&] { calleeWithoutTrap(sim.runtime); });
    ASSERT_EQ(sim.runtime.messages.size(), 1u);
    EXPECT_EQ(sim.runtime.messages[0].text.substr(0, 15), "Invalid picture");
    EXPECT_NE(sim.runtime.messages[0].text.find("PushButton6_Click at line 108"),
              std::string::npos);
}

TEST_F(ErrorTrapTest, FailuresOtherThanRuntimeErrorsAreDescribedToo) {
    trap(100, [] { throw std::bad_alloc(); });
    trap(102, [] { throw std::out_of_range("vector index"); });
    ASSERT_EQ(sim.runtime.messages.size(), 2u);
    EXPECT_EQ(sim.runtime.messages[0].text.substr(0, 13), "Out of memory");
    EXPECT_EQ(sim.runtime.messages[1].text.substr(0, 12), "vector index");
}

}  // namespace
}  // namespace velmora

// Reading sway's layout tree: which containers are views, what the backend learns of each, and
// the order that stands in for the z-order (most recently focused first).

#include <gtest/gtest.h>

#include "SwayTrees.h"
#include "platform/wayland/IpcError.h"
#include "platform/wayland/SwayTree.h"

namespace velmora::wayland {
namespace {

using namespace test::sway;

std::vector<Hwnd> Order(const std::string& tree) {
    std::vector<Hwnd> ids;
    for (const SwayView& view : ReadViews(tree)) ids.push_back(view.id);
    return ids;
}

struct OrderCase {
    const char* name;
    std::string tree;
    std::vector<Hwnd> order;
};

class SwayOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SwayOrderTest, MostRecentlyFocusedFirst) {
    EXPECT_EQ(Order(GetParam().tree), GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(
    HandWrittenTrees, SwayOrderTest,
    ::testing::Values(
        OrderCase{"OneWorkspace",
                  Root({Container(4, "output", "HEADLESS-1",
                                  {Container(5, "workspace", "1",
                                             {View(10, "A"), View(11, "B"), View(12, "C")},
                                             {12, 10, 11})},
                                  {5})},
                       {4}),
                  {12, 10, 11}},
        OrderCase{"WorkspacesAndOutputsByTheirOwnFocus",
                  Root({Container(4, "output", "OUT-1",
                                  {Container(5, "workspace", "1", {View(10, "A")}, {10}),
                                   Container(6, "workspace", "2", {View(11, "B"), View(12, "C")},
                                             {12, 11})},
                                  {6, 5}),
                        Container(7, "output", "OUT-2",
                                  {Container(8, "workspace", "3", {View(13, "D")}, {13})}, {8})},
                       {7, 4}),
                  {13, 12, 11, 10}},
        OrderCase{"ASplitIsWalkedWholeBeforeTheNextSibling",
                  Root({Container(4, "output", "OUT",
                                  {Container(5, "workspace", "1",
                                             {View(10, "A"),
                                              Container(20, "con", nullptr,
                                                        {View(11, "B"), View(12, "C")}, {12, 11})},
                                             {20, 10})},
                                  {5})},
                       {4}),
                  {12, 11, 10}},
        OrderCase{"FloatingViewsAreInTheSameFocusList",
                  Root({Container(4, "output", "OUT",
                                  {Container(5, "workspace", "1", {View(10, "A")}, {30, 10},
                                             {View(30, "F", {.type = "floating_con"})})},
                                  {5})},
                       {4}),
                  {30, 10}},
        OrderCase{"ViewsNoFocusListReachesFollowInTreeOrder",
                  Root({Container(4, "output", "OUT",
                                  {Container(5, "workspace", "1",
                                             {View(10, "A"), View(11, "B"), View(12, "C")}, {11}),
                                   Container(6, "workspace", "2", {View(13, "D")}, {})},
                                  {5})},
                       {4},
                       {View(40, "S1", {.type = "floating_con"}),
                        View(41, "S2", {.type = "floating_con"})}),
                  // sway's tree holds the scratchpad's output first
                  {11, 40, 41, 10, 12, 13}},
        OrderCase{"FocusEntriesThatNameNoChildOrRepeatArePassedOver",
                  Root({Container(4, "output", "OUT",
                                  {Container(5, "workspace", "1", {View(10, "A"), View(11, "B")},
                                             {99, 11, 11, 1, 10})},
                                  {5, 5})},
                       {4}),
                  {11, 10}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SwayTreeTest, ReadsWhatTheBackendNeedsOfEachView) {
    const std::string tree = Root(
        {Container(
            4, "output", "OUT",
            {Container(
                5, "workspace", "1",
                {View(10, R"(caf\u00e9 \ud83d\ude00)",
                      {.pid = 321, .focused = true, .fullscreenMode = 2, .appId = R"("foot")"}),
                 View(11, "X11 view", {.pid = 322, .appId = "null"})},
                {10, 11})},
            {5})},
        {4}, {View(40, "Hidden", {.pid = 323, .type = "floating_con"})});
    const std::vector<SwayView> views = ReadViews(tree);
    ASSERT_EQ(views.size(), 3u);
    EXPECT_EQ(views[0].id, 10u);
    EXPECT_EQ(views[0].title, "caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(views[0].appId, "foot");
    EXPECT_EQ(views[0].pid, 321);
    EXPECT_EQ(views[0].fullscreenMode, 2);
    EXPECT_TRUE(views[0].focused);
    EXPECT_FALSE(views[0].inScratchpad);
    EXPECT_EQ(views[1].appId, "");
    EXPECT_FALSE(views[1].focused);
    EXPECT_EQ(views[1].fullscreenMode, 0);
    EXPECT_EQ(views[2].title, "Hidden");
    EXPECT_TRUE(views[2].inScratchpad);
}

TEST(SwayTreeTest, ContainersWithoutTitleOrProgramAreNoViews) {
    const std::string untitled = R"({"id":12,"type":"con","name":null,"pid":7,"nodes":[]})";
    const std::string noPid = R"({"id":13,"type":"con","name":"split","nodes":[]})";
    const std::string workspaceWithPid = R"({"id":14,"type":"workspace","name":"w","pid":7})";
    const std::string tree = Root(
        {Container(4, "output", "OUT",
                   {Container(5, "workspace", "1", {View(10, "A"), untitled, noPid}, {13, 12, 10}),
                    workspaceWithPid},
                   {5})},
        {4});
    EXPECT_EQ(Order(tree), std::vector<Hwnd>{10});
}

class BadTreeTest : public ::testing::TestWithParam<std::string> {};

TEST_P(BadTreeTest, IsAnError) { EXPECT_THROW(ReadViews(GetParam()), IpcError); }

INSTANTIATE_TEST_SUITE_P(
    Each, BadTreeTest,
    ::testing::Values(
        "[]", "{\"id\":1", "null", R"({"id":1,"nodes":{}})", R"({"id":1,"nodes":[3]})",
        R"({"id":1,"focus":{}})", R"({"id":1,"nodes":[{"id":2}],"focus":["2"]})",
        R"({"id":1,"nodes":[{"id":4294967296,"type":"con","name":"A","pid":1}]})",
        R"({"id":1,"nodes":[{"id":-1,"type":"con","name":"A","pid":1}]})",
        R"({"id":1,"nodes":[{"id":2.5,"type":"con","name":"A","pid":1}]})",
        R"({"id":1,"nodes":[{"id":0,"type":"con","name":"A","pid":1}]})",
        R"({"id":1,"nodes":[{"type":"con","name":"A","pid":1}]})",
        R"({"id":1,"nodes":[{"id":2,"type":"con","name":"A","pid":1.5}]})",
        R"({"id":1,"nodes":[{"id":2,"type":"con","name":"A","pid":1},
                            {"id":2,"type":"con","name":"B","pid":1}]})"));

// A fullscreen mode a later sway may add (or a value of another type) must not cost the list.
TEST(SwayTreeTest, AFullscreenModeItDoesNotKnowReadsAsNone) {
    for (const std::string mode : {"7", "-1", "1.5", "\"global\"", "null"}) {
        const auto views = ReadViews(R"({"id":1,"nodes":[{"id":2,"type":"con","name":"A","pid":1,)"
                                     R"("fullscreen_mode":)" + mode + "}]}");
        EXPECT_TRUE(views.size() == 1 && views[0].fullscreenMode == 0) << mode;
    }
}

TEST(SwayTreeTest, TheLargestContainerIdStillFits) {
    EXPECT_EQ(Order(R"({"id":1,"nodes":[{"id":4294967295,"type":"con","name":"A","pid":1}]})"),
              std::vector<Hwnd>{4294967295u});
}

}  // namespace
}  // namespace velmora::wayland

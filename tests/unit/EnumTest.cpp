#include <gtest/gtest.h>

#include "app/Enum.h"
#include "app/Globals.h"
#include "platform/WalkSnapshot.h"
#include "platform/sim/SimPlatform.h"

namespace velmora {
namespace {

using sim::ShowState;

struct EnumTest : ::testing::Test {
    sim::SimPlatform sim;
    Globals globals;
    Enum enumerator{sim.desktop, globals};
    Hwnd own = sim.desktop.Create("Velmora Suite");

    std::vector<std::string> listedTitles(int count) const {
        std::vector<std::string> titles;
        for (int i = 0; i < count; ++i) titles.push_back(enumerator.OpenWindows()[i].Title);
        return titles;
    }
};

TEST_F(EnumTest, ListsOnlyVisibleBorderedTitledWindowsOtherThanItsOwn) {
    const Hwnd listed = sim.desktop.Create("Editor");
    sim.desktop.Create("Hidden", sim::kWsCaption, ShowState::Hidden);
    sim.desktop.Create("Popup", sim::kWsPopup);
    sim.desktop.Create("");
    const Hwnd minimized = sim.desktop.Create("Minimized", sim::kWsCaption, ShowState::Minimized);
    const Hwnd maximized = sim.desktop.Create("Maximized", sim::kWsCaption, ShowState::Maximized);
    const Hwnd bordered = sim.desktop.Create("Thin border", kWsBorder);

    EXPECT_EQ(enumerator.GetOpenWindows(own), 4);
    const auto& table = enumerator.OpenWindows();
    EXPECT_EQ(table[0].Handle, bordered);
    EXPECT_EQ(table[1].Handle, maximized);
    EXPECT_EQ(table[2].Handle, minimized);
    EXPECT_EQ(table[3].Handle, listed);
    EXPECT_EQ(table[3].Title, "Editor");
    EXPECT_TRUE(table[4].Title.empty());
    EXPECT_EQ(table[4].Handle, 0u);
}

TEST_F(EnumTest, NeverListsTheMainWindowByEitherHandle) {
    const Hwnd other = sim.desktop.Create("Other");
    globals.MainWindowHandle = other;
    EXPECT_EQ(enumerator.GetOpenWindows(own), 0);

    globals.MainWindowHandle = own;
    EXPECT_EQ(enumerator.GetOpenWindows(other), 0);
}

TEST_F(EnumTest, EveryEnumerationResetsTheWholeTable) {
    const Hwnd a = sim.desktop.Create("A");
    sim.desktop.Create("B");
    EXPECT_EQ(enumerator.GetOpenWindows(own), 2);
    sim.desktop.Destroy(a);
    EXPECT_EQ(enumerator.GetOpenWindows(own), 1);
    EXPECT_EQ(enumerator.OpenWindows()[0].Title, "B");
    EXPECT_TRUE(enumerator.OpenWindows()[1].Title.empty());
    EXPECT_EQ(enumerator.OpenWindows()[1].Handle, 0u);
}

TEST_F(EnumTest, UnicodeTitlesPassThroughUnchanged) {
    sim.desktop.Create("Ωmega — 東京 ✓");
    ASSERT_EQ(enumerator.GetOpenWindows(own), 1);
    EXPECT_EQ(enumerator.OpenWindows()[0].Title, "Ωmega — 東京 ✓");
}

TEST_F(EnumTest, TheWalkEndsWhenTheVisitedWindowIsDestroyed) {
    sim.desktop.Create("Bottom");
    const Hwnd middle = sim.desktop.Create("Middle");
    sim.desktop.Create("Top");
    sim.desktop.beforeGetWindow = [&](Hwnd window, unsigned command) {
        if (window == middle && command == kGwHwndNext) sim.desktop.Destroy(middle);
    };
    EXPECT_EQ(enumerator.GetOpenWindows(own), 2);
    EXPECT_EQ(listedTitles(2), (std::vector<std::string>{"Top", "Middle"}));
}

TEST_F(EnumTest, AWindowCreatedDuringTheWalkIsNotMetIfAboveIt) {
    sim.desktop.Create("First");
    sim.desktop.Create("Second");
    bool created = false;
    sim.desktop.beforeGetWindow = [&](Hwnd, unsigned command) {
        if (command == kGwHwndNext && !created) {
            created = true;
            sim.desktop.Create("Late");
        }
    };
    EXPECT_EQ(enumerator.GetOpenWindows(own), 2);
    EXPECT_EQ(listedTitles(2), (std::vector<std::string>{"Second", "First"}));
}

TEST_F(EnumTest, TheTableHoldsExactly1001Windows) {
    for (int i = 0; i < 1001; ++i) sim.desktop.Create("W" + std::to_string(i));
    EXPECT_EQ(enumerator.GetOpenWindows(own), 1001);
    EXPECT_EQ(enumerator.OpenWindows()[1000].Title, "W0");

    sim.desktop.Create("W1001");
    EXPECT_THROW(
        {
            try {
                enumerator.GetOpenWindows(own);
            } catch (const RuntimeError& error) {
                EXPECT_EQ(error.description(), "Subscript out of range");
                throw;
            }
        },
        RuntimeError);
    EXPECT_EQ(enumerator.OpenWindows()[0].Title, "W1001");
    EXPECT_EQ(enumerator.OpenWindows()[1000].Title, "W1");
    // The walk cut short is ended all the same: the window system forgets what it kept for it.
    const std::vector<std::string>& calls = sim.recorder.Calls();
    EXPECT_EQ(sim.recorder.Count("EndWalk"), 2);
    EXPECT_EQ(calls.back(), "EndWalk()");
}

// A window list may repeat a handle or carry handle 0 (which ends a walk): neither may hide the
// windows after it.
TEST(WalkSnapshot, WalksEveryWindowOnceInOrderWhateverTheListHolds) {
    struct Window {
        Hwnd id;
    };
    WalkSnapshot<Window, &Window::id> snapshot;
    const auto walk = [&](std::vector<Window> windows) {
        std::vector<Hwnd> order;
        for (Hwnd w = snapshot.Begin(std::move(windows)); w != 0; w = snapshot.Next(w)) {
            order.push_back(w);
        }
        return order;
    };
    EXPECT_EQ(walk({{5}, {7}, {5}, {9}}), (std::vector<Hwnd>{5, 7, 9}));
    EXPECT_EQ(walk({{0}, {5}, {0}, {7}}), (std::vector<Hwnd>{5, 7}));
}

}  // namespace
}  // namespace velmora

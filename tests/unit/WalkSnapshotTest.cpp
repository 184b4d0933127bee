#include <gtest/gtest.h>

#include <vector>

#include "platform/WalkSnapshot.h"

namespace velmora {
namespace {

struct Window {
    Hwnd id;
};

std::vector<Hwnd> Walk(WalkSnapshot<Window, &Window::id>& snapshot, std::vector<Window> windows) {
    std::vector<Hwnd> order;
    for (Hwnd w = snapshot.Begin(std::move(windows)); w != 0; w = snapshot.Next(w)) {
        order.push_back(w);
    }
    return order;
}

// A compositor's list may repeat a handle or carry handle 0; neither may hide a window from the
// walk, and handle 0, which ends a walk, is no window.
TEST(WalkSnapshot, WalksEveryWindowOnceInOrderWhateverTheListHolds) {
    WalkSnapshot<Window, &Window::id> snapshot;
    EXPECT_EQ(Walk(snapshot, {{5}, {7}, {9}}), (std::vector<Hwnd>{5, 7, 9}));
    EXPECT_EQ(Walk(snapshot, {{5}, {7}, {5}, {9}}), (std::vector<Hwnd>{5, 7, 9}));
    EXPECT_EQ(Walk(snapshot, {{0}, {5}, {0}, {7}}), (std::vector<Hwnd>{5, 7}));
    EXPECT_EQ(Walk(snapshot, {}), std::vector<Hwnd>{});
    EXPECT_EQ(snapshot.Find(5), nullptr);  // the last walk replaced the earlier one
    EXPECT_EQ(snapshot.Next(42), 0u);
}

}  // namespace
}  // namespace velmora

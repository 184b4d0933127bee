#include <gtest/gtest.h>

#include <vector>

#include "platform/WalkSnapshot.h"

namespace velmora {
namespace {

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

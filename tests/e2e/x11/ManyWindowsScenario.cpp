// A refresh over many windows lists every one of them, in z-order.

#include <algorithm>

#include "Scenario.h"

namespace e2e {

namespace {

constexpr int kManyWindows = 150;

}  // namespace

void ManyWindowsScenario(Context& c) {
    std::vector<Window> created;
    for (int i = 0; i < kManyWindows; ++i) {
        created.push_back(c.Create(TargetKind::Normal, "E2E Many " + std::to_string(i)));
    }
    c.results.Check(c.x.WaitFor(
                        [&] {
                            return std::all_of(created.begin(), created.end(),
                                               [&](Window w) { return c.x.Info(w).wmState == 1; });
                        },
                        std::chrono::seconds(30)),
                    "the window manager takes 150 new windows");
    c.x.Pump(std::chrono::milliseconds(300));

    c.app.ClickControl("PushButton1");
    std::vector<std::string> expected;
    for (const Window window : c.x.StackingTopFirst()) {
        const auto at = std::find(created.begin(), created.end(), window);
        if (at != created.end())
            expected.push_back("E2E Many " + std::to_string(at - created.begin()));
    }
    c.results.Check(c.app.WaitForRows([&](const FormState& s) {
        std::vector<std::string> many;
        for (const std::string& title : s.Titles()) {
            if (title.rfind("E2E Many ", 0) == 0) many.push_back(title);
        }
        return many == expected;
    }),
                    "Refresh lists all 150 of them in z-order");

    for (const Window window : created) c.x.Destroy(window);
    c.app.ClickControl("PushButton1");
    c.results.Check(c.app.WaitForRows([](const FormState& s) {
        const auto titles = s.Titles();
        return std::none_of(titles.begin(), titles.end(),
                            [](const std::string& t) { return t.rfind("E2E Many ", 0) == 0; });
    }),
                    "destroyed windows leave the list at the next Refresh");
}

}  // namespace e2e

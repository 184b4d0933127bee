// The listing on sway: the test client's views, never the program's own, most recently focused
// first, and Refresh seeing a new view.

#include <algorithm>

#include "Scenario.h"

namespace e2e {

namespace {

// Focuses the client's views in this order, each once sway has it focused.
void FocusInTurn(Context& c, const std::vector<std::string>& titles) {
    for (const std::string& title : titles) {
        const Desktop::WindowId view = c.ViewOf(title);
        c.sway.Activate(view);
        c.sway.WaitFor([&] { return c.sway.ActiveWindow() == view; });
    }
}

std::vector<std::string> Reversed(std::vector<std::string> titles) {
    std::reverse(titles.begin(), titles.end());
    return titles;
}

}  // namespace

void ListingScenario(Context& c) {
    const std::string unicode = "E2E Ζήτα Привет 日本 — ü";
    c.results.Check(c.Start({"E2E Alpha", "E2E Beta", unicode, "E2E Gamma"}) != nullptr,
                    "the test client's four toplevels are shown by sway");
    const std::vector<std::string> focused{"E2E Beta", "E2E Gamma", "E2E Alpha", unicode};
    FocusInTurn(c, focused);

    c.results.Check(c.app.Start(), "the program starts and shows its window");
    const std::vector<std::string> rows = c.app.State().Titles();
    const std::vector<std::string> expected = Reversed(focused);
    c.results.Check(rows == expected,
                    "exactly the client's views are listed, most recently focused first",
                    "rows " + Join(rows) + " expected " + Join(expected));
    c.results.Check(std::find(rows.begin(), rows.end(), "Velmora Suite") == rows.end(),
                    "the program's own window is never listed");
    c.results.Check(c.Listed(unicode), "a title with Greek, Cyrillic and CJK is listed exactly");
    const RowState* alpha = c.app.State().Row("E2E Alpha");
    c.results.Check(alpha && alpha->status == "Visible" && !alpha->checked,
                    "rows start unticked with the status Visible");

    // Another view focused, and a new one (sway focuses it): Refresh shows both.
    FocusInTurn(c, {"E2E Beta"});
    c.results.Check(c.Start({"E2E Delta"}) != nullptr, "a new toplevel is shown");
    c.results.Check(!c.Listed("E2E Delta"), "a new view is not listed before Refresh");
    c.results.Check(c.Refresh([](const FormState& s) { return s.Row("E2E Delta"); }),
                    "Refresh lists a new view");
    const std::vector<std::string> refreshed = c.app.State().Titles();
    const std::vector<std::string> again{"E2E Delta", "E2E Beta", unicode, "E2E Alpha",
                                         "E2E Gamma"};
    c.results.Check(refreshed == again, "after Refresh the order follows the new focus history",
                    "rows " + Join(refreshed) + " expected " + Join(again));
}

}  // namespace e2e

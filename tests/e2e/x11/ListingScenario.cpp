// The listing: which windows appear, in which order, and that Refresh sees changes.

#include <algorithm>
#include <map>

#include "Scenario.h"

namespace e2e {

namespace {

std::string Join(const std::vector<std::string>& titles) {
    std::string text;
    for (const auto& title : titles) text += "[" + title + "]";
    return text;
}

// The titles of the given windows in the window manager's stacking order, from the top.
std::vector<std::string> InStackingOrder(XDriver& x, const std::map<Window, std::string>& windows) {
    std::vector<std::string> titles;
    for (const Window window : x.StackingTopFirst()) {
        if (const auto at = windows.find(window); at != windows.end()) titles.push_back(at->second);
    }
    return titles;
}

}  // namespace

void ListingScenario(Context& c) {
    const std::map<std::string, TargetKind> targets{
        {"E2E Alpha", TargetKind::Normal},
        {"E2E Beta", TargetKind::Normal},
        {"E2E Gamma", TargetKind::Normal},
        {"E2E Ζήτα Привет 日本", TargetKind::Normal},
        {"E2E Café Latin-1", TargetKind::LegacyTitle},
        {"E2E Override", TargetKind::Override},
        {"E2E Borderless", TargetKind::Undecorated},
        {"E2E Skip Taskbar", TargetKind::SkipTaskbar},
        {"E2E Withdrawn", TargetKind::Withdrawn},
    };
    std::map<Window, std::string> listable;
    for (const auto& [title, kind] : targets) {
        const Window window = c.Create(kind, title);
        if (kind == TargetKind::Normal || kind == TargetKind::LegacyTitle) listable[window] = title;
    }
    const Window untitled = c.x.Create(TargetKind::Normal, "");
    // Let the window manager take them all before anything compares the z-order.
    c.x.WaitFor([&] {
        const auto stacking = c.x.StackingTopFirst();
        return std::find(stacking.begin(), stacking.end(), untitled) != stacking.end();
    });
    c.x.Pump(std::chrono::milliseconds(300));

    c.results.Check(c.app.Start(), "the program starts and shows its window");
    const std::vector<std::string> expected = InStackingOrder(c.x, listable);
    const std::vector<std::string> rows = c.app.State().Titles();
    c.results.Check(rows == expected, "exactly the titled, framed windows are listed, top first",
                    "rows " + Join(rows) + " expected " + Join(expected));
    c.results.Check(std::find(rows.begin(), rows.end(), "Velmora Suite") == rows.end(),
                    "the program's own window is never listed");
    for (const char* hidden :
         {"E2E Override", "E2E Borderless", "E2E Skip Taskbar", "E2E Withdrawn"}) {
        c.results.Check(std::find(rows.begin(), rows.end(), hidden) == rows.end(),
                        std::string("not listed: ") + hidden);
    }
    c.results.Check(c.Listed("E2E Ζήτα Привет 日本"), "a non-Latin title is listed exactly");
    c.results.Check(c.Listed("E2E Café Latin-1"), "a Latin-1 WM_NAME is listed as the same text");
    const RowState* alpha = c.app.State().Row("E2E Alpha");
    c.results.Check(alpha && alpha->status == "Visible" && !alpha->checked,
                    "rows start unticked with the status Visible");

    // A different window on top, and a new one: Refresh shows both.
    const Window bottom = [&] {
        const auto stacking = c.x.StackingTopFirst();
        for (auto at = stacking.rbegin(); at != stacking.rend(); ++at) {
            if (listable.count(*at)) return *at;
        }
        return Window{0};
    }();
    c.x.Activate(bottom);
    c.x.WaitFor([&] { return c.x.ActiveWindow() == bottom; });
    const Window delta = c.Create(TargetKind::Normal, "E2E Delta");
    listable[delta] = "E2E Delta";
    c.x.WaitFor([&] { return c.x.Info(delta).wmState == 1; });
    c.results.Check(!c.Listed("E2E Delta"), "a new window is not listed before Refresh");
    c.app.ClickControl("PushButton1");
    c.results.Check(c.app.WaitForRows([](const FormState& s) { return s.Row("E2E Delta"); }),
                    "Refresh lists a new window");
    const std::vector<std::string> again = InStackingOrder(c.x, listable);
    const std::vector<std::string> refreshed = c.app.State().Titles();
    c.results.Check(refreshed == again, "after Refresh the order follows the new z-order",
                    "rows " + Join(refreshed) + " expected " + Join(again));

    // A window on another workspace is unmapped by the window manager, yet it is open.
    c.x.MoveToDesktop(delta, 1);
    c.x.WaitFor([&] { return !c.x.Info(delta).viewable; });
    const Window epsilon = c.Create(TargetKind::Normal, "E2E Epsilon");
    c.x.WaitFor([&] { return c.x.Info(epsilon).wmState == 1; });
    c.app.ClickControl("PushButton1");
    c.results.Check(c.app.WaitForRows([](const FormState& s) {
        return s.Row("E2E Epsilon") && s.Row("E2E Delta");
    }),
                    "a window on another workspace is listed");
    c.x.MoveToDesktop(delta, 0);
}

}  // namespace e2e

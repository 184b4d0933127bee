// Hide, Show, Maximize, Restore, Minimize and Close of the ticked rows, checked in sway's tree
// and in the test clients' close log.

#include <algorithm>

#include "Scenario.h"

namespace e2e {

namespace {

using velmora::wayland::SwayView;

constexpr char kMinimizeMessage[] =
    "Minimize is not available on sway; the checked windows are left as they are.";

// The error report of Close failing to switch to a row's window.
bool FromSwitch(const Box& box) {
    return box.title == "Application Error" &&
           box.text.find("PushButton8_Click at line 106") != std::string::npos;
}

// On the workspace, tiled, not fullscreen: as a view is before any command.
bool Regular(Context& c, Desktop::WindowId view) {
    const std::optional<SwayView> now = c.sway.View(view);
    const std::optional<ViewPlacement> placement = c.sway.Placement(view);
    return now && !now->inScratchpad && now->fullscreenMode == 0 && placement &&
           !placement->floating;
}

bool StatusIs(Context& c, const std::string& title, const std::string& status) {
    return c.app.WaitForRows([&](const FormState& s) {
        const RowState* row = s.Row(title);
        return row && row->status == status;
    });
}

}  // namespace

void CommandsScenario(Context& c) {
    const Desktop::WindowId alpha = c.ViewOf("E2E Alpha");
    const Desktop::WindowId beta = c.ViewOf("E2E Beta");
    c.results.Check(c.app.SetTicked("E2E Alpha", true), "a row's check box ticks it");

    c.app.ClickControl("PushButton6");
    c.results.Check(c.sway.WaitFor([&] { return c.InScratchpad(alpha); }),
                    "Hide moves the ticked view to the scratchpad");
    c.results.Check(StatusIs(c, "E2E Alpha", "Hidden"), "its row says Hidden");
    c.results.Check(Regular(c, beta), "an unticked view stays where it was");

    c.app.SetTicked("E2E Alpha", true);
    c.app.ClickControl("PushButton7");
    c.results.Check(c.sway.WaitFor([&] { return Regular(c, alpha); }),
                    "Show brings it back to the workspace, tiled");
    c.results.Check(StatusIs(c, "E2E Alpha", "Visible"), "its row says Visible again");

    c.app.SetTicked("E2E Alpha", true);
    c.app.ClickControl("PushButton10");
    c.results.Check(c.sway.WaitFor([&] { return c.FullscreenMode(alpha) == 1; }),
                    "Maximize makes the ticked view fullscreen on its workspace");
    c.results.Check(c.FullscreenMode(beta) == 0, "an unticked view is not made fullscreen");
    c.app.SetTicked("E2E Alpha", true);
    c.app.ClickControl("PushButton11");
    c.results.Check(c.sway.WaitFor([&] { return c.FullscreenMode(alpha) == 0; }),
                    "Restore ends its fullscreen");

    c.app.SetTicked("E2E Alpha", true);
    c.app.ClickControl("PushButton6");
    c.sway.WaitFor([&] { return c.InScratchpad(alpha); });
    c.app.SetTicked("E2E Alpha", true);
    c.app.ClickControl("PushButton11");
    c.results.Check(c.sway.WaitFor([&] { return Regular(c, alpha); }),
                    "Restore also brings a hidden view out of the scratchpad, tiled");

    c.app.SetTicked("E2E Alpha", true);
    c.app.ClickControl("PushButton6");
    c.sway.WaitFor([&] { return c.InScratchpad(alpha); });
    c.results.Check(c.Refresh([](const FormState& s) { return !s.Row("E2E Alpha"); }),
                    "a hidden view is not listed after a rebuild");
    c.sway.Run("[con_id=" + std::to_string(alpha) + "] scratchpad show, floating disable");
    c.Refresh([](const FormState& s) { return s.Row("E2E Alpha"); });
}

// Minimize cannot act on sway: the first time one message box says so, never again, and no
// view is touched either time.
void MinimizeScenario(Context& c) {
    const Desktop::WindowId alpha = c.ViewOf("E2E Alpha");
    c.app.SetTicked("E2E Alpha", true);
    c.app.ClickControl("PushButton9");
    Box box;
    c.results.Check(c.sway.WaitFor([&] { return c.app.Dialog(&box.title, &box.text).has_value(); }),
                    "Minimize shows a message box");
    c.results.Check(box.text == kMinimizeMessage,
                    "it names the command and the desktop, read through the accessibility bus",
                    Describe({box}));
    c.app.DismissDialog();
    c.results.Check(c.sway.WaitFor([&] { return !c.app.Dialog().has_value(); }),
                    "Return typed on the virtual keyboard answers it");
    c.results.Check(Regular(c, alpha), "the ticked view is left as it was");

    c.app.SetTicked("E2E Alpha", true);
    c.app.ClickControl("PushButton9");
    const std::vector<Box> again = c.app.AnswerBoxes(std::chrono::milliseconds(1500));
    c.results.Check(again.empty(), "a second Minimize says nothing", Describe(again));
    c.results.Check(Regular(c, alpha), "and leaves the view as it was");
    c.app.SetTicked("E2E Alpha", false);
}

void CloseScenario(Context& c) {
    TestClient* closing =
        c.Start({"E2E Close me", "E2E Twin", "E2E Twin", "E2E Renamed later", "E2E Kept"});
    TestClient* asking = c.Start({"E2E Unsaved"}, true);
    c.results.Check(closing && asking, "the windows for Close are shown");
    if (!closing || !asking) return;
    // The twin focused last is the first row of that title, the one ticked.
    const std::vector<SwayView> twins = c.sway.ViewsTitled(closing->pid(), "E2E Twin");
    if (twins.size() != 2) return;
    const Desktop::WindowId tickedTwin = twins.back().id;
    const Desktop::WindowId otherTwin = twins.front().id;
    c.sway.Activate(tickedTwin);
    c.sway.WaitFor([&] { return c.sway.ActiveWindow() == tickedTwin; });
    c.results.Check(c.Refresh([](const FormState& s) {
        return s.Row("E2E Close me") && s.Row("E2E Unsaved") && s.Row("E2E Renamed later");
    }),
                    "they are listed");
    bool ticked = true;
    for (const char* title : {"E2E Close me", "E2E Twin", "E2E Renamed later", "E2E Unsaved"}) {
        ticked = c.app.SetTicked(title, true) && ticked;
    }
    c.results.Check(ticked, "four rows ticked for Close, one of two twins among them");
    const Desktop::WindowId renamed = c.ViewOf("E2E Renamed later");
    const Desktop::WindowId kept = c.ViewOf("E2E Kept");
    const Desktop::WindowId unsaved = c.ViewOf("E2E Unsaved");
    closing->Rename(4, "E2E Renamed meanwhile");
    c.sway.WaitFor([&] {
        const auto view = c.sway.View(renamed);
        return view && view->title == "E2E Renamed meanwhile";
    });

    c.app.ClickControl("PushButton8");
    const std::vector<Box> boxes = c.app.AnswerBoxes(std::chrono::seconds(4));
    c.results.Check(boxes.size() == 1 && FromSwitch(boxes.front()),
                    "the view renamed meanwhile is reported, from Close's switch to it",
                    Describe(boxes));
    const auto closedFor = [&](const std::string& title) {
        const auto log = LoggedCloses(c.closeLog);
        return std::count(log.begin(), log.end(), "closed " + title);
    };
    c.results.Check(c.sway.WaitFor([&] { return !c.ViewOf("E2E Close me"); }) &&
                        closedFor("E2E Close me") == 1,
                    "Close closes the ticked view, asking its client once");
    c.results.Check(c.sway.WaitFor([&] { return !c.sway.View(tickedTwin); }) &&
                        c.sway.View(otherTwin).has_value() && closedFor("E2E Twin") == 1,
                    "of two twins only the ticked one is closed");
    c.results.Check(c.sway.WaitFor([&] {
        const auto log = LoggedCloses(c.closeLog);
        return std::count(log.begin(), log.end(), "kept E2E Unsaved") == 1;
    }) && c.sway.View(unsaved).has_value(),
                    "a window with unsaved work is asked, says no and stays open");
    c.results.Check(c.sway.View(renamed).has_value() && closedFor("E2E Renamed meanwhile") == 0,
                    "a ticked view renamed meanwhile is not closed");
    c.results.Check(c.sway.View(kept).has_value() && c.ViewOf("E2E Alpha") != 0,
                    "unticked views survive Close");
    const auto log = LoggedCloses(c.closeLog);
    c.results.Check(log.size() == 3, "no other close request was made", Join(log));
    c.results.Check(c.app.WaitForRows([](const FormState& s) {
        return !s.Row("E2E Close me") && s.Row("E2E Renamed meanwhile") && s.Row("E2E Unsaved");
    }),
                    "the list is rebuilt after Close");
    c.clients.erase("E2E Close me");
    c.clients.erase("E2E Unsaved");
}

}  // namespace e2e

// The program on labwc, a wlroots desktop nobody here wrote, through its foreign-toplevel
// management: the test client's toplevels listed, never the program's own; Hide, Show,
// Minimize, Maximize and Restore act on exactly the ticked toplevel and Close closes exactly
// it, each as labwc itself reports the toplevels' states.

#include <algorithm>
#include <functional>

#include "Scenario.h"
#include "ToplevelDesktop.h"

namespace e2e {

namespace {

using velmora::wayland::kToplevelMaximized;
using velmora::wayland::kToplevelMinimized;

struct Step {
    const char* button;
    const char* what;
    std::function<bool(unsigned states)> holds;
};

}  // namespace

void LabwcScenario(ToplevelDesktop& labwc, Velmora& app, Results& results,
                   const std::string& clientProgram, const std::string& closeLog) {
    std::vector<std::string> titles{"E2E labwc one", "E2E labwc two", "E2E labwc three"};
    TestClient client(clientProgram, closeLog, titles);
    const auto state = [&](const std::string& title) {
        const velmora::wayland::Toplevel* toplevel = labwc.Titled(title);
        return toplevel ? toplevel->states : ~0u;
    };
    results.Check(labwc.WaitFor([&] { return std::ranges::none_of(titles, [&](auto& t) {
        return state(t) == ~0u;
    }); }), "labwc shows the test client's three toplevels");
    results.Check(app.Start(), "the program starts on labwc");
    std::vector<std::string> rows = app.State().Titles();
    std::ranges::sort(rows);
    std::ranges::sort(titles);
    results.Check(rows == titles, "each is listed, the program's own window never", Join(rows));

    const Step steps[] = {
        {"PushButton6", "Hide minimizes it", [](unsigned s) { return s & kToplevelMinimized; }},
        {"PushButton7", "Show brings it back", [](unsigned s) { return !(s & kToplevelMinimized); }},
        {"PushButton9", "Minimize minimizes it", [](unsigned s) { return s & kToplevelMinimized; }},
        {"PushButton10", "Maximize shows and maximizes it",
         [](unsigned s) { return (s & kToplevelMaximized) && !(s & kToplevelMinimized); }},
        {"PushButton11", "Restore unmaximizes it",
         [](unsigned s) { return !(s & (kToplevelMaximized | kToplevelMinimized)); }},
    };
    for (const Step& step : steps) {
        // Ticked afresh: Minimize rebuilds the list.
        const bool ticked = app.SetTicked("E2E labwc two", true);
        app.ClickControl(step.button);
        const bool held = labwc.WaitFor([&] { return step.holds(state("E2E labwc two")); });
        std::string states = "states";
        for (const std::string& title : titles) states += " " + std::to_string(state(title));
        results.Check(ticked && held && state("E2E labwc one") == 0 &&
                          state("E2E labwc three") == 0,
                      std::string(step.what) + ", the others are left alone", states);
    }

    app.SetTicked("E2E labwc two", false);
    app.SetTicked("E2E labwc three", true);
    app.ClickControl("PushButton8");
    results.Check(labwc.WaitFor([&] { return state("E2E labwc three") == ~0u; }) &&
                      LoggedCloses(closeLog) == std::vector<std::string>{"closed E2E labwc three"},
                  "Close closes exactly the ticked toplevel", Join(LoggedCloses(closeLog)));

    app.ClickControl("PushButton2");
    app.ClickControl("PushButton9");
    results.Check(labwc.WaitFor([&] {
        return state("E2E labwc one") == kToplevelMinimized &&
               state("E2E labwc two") == kToplevelMinimized;
    }) && labwc.Shown(app.form()), "Check All and Minimize leave the program's own window shown");
}

}  // namespace e2e

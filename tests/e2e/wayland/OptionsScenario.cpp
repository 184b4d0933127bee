// The hotkeys typed on the virtual keyboard, timed refresh and keep-on-top, as the user sets
// them, checked in sway's tree.

#include "Scenario.h"

namespace e2e {

namespace {

bool OwnViewPlaced(Context& c, bool onTop) {
    const std::optional<ViewPlacement> placement = c.sway.Placement(c.app.form());
    return placement && placement->floating == onTop && placement->sticky == onTop;
}

}  // namespace

void HotkeyScenario(Context& c) {
    const Desktop::WindowId alpha = c.ViewOf("E2E Alpha");
    c.app.SetTicked("E2E Alpha", true);
    c.app.Keys("ctrl+shift+h");
    c.results.Check(c.sway.WaitFor([&] { return c.InScratchpad(alpha); }),
                    "Ctrl+Shift+H hides the ticked view");
    c.app.Keys("ctrl+shift+s");
    c.results.Check(c.sway.WaitFor([&] { return c.sway.Shown(alpha); }),
                    "Ctrl+Shift+S shows it again");
    c.app.Keys("ctrl+shift+x");
    c.results.Check(c.sway.WaitFor([&] { return c.FullscreenMode(alpha) == 1; }),
                    "Ctrl+Shift+X makes it fullscreen");
    c.app.Keys("ctrl+shift+r");
    c.results.Check(c.sway.WaitFor([&] { return c.FullscreenMode(alpha) == 0; }),
                    "Ctrl+Shift+R restores it");
    c.app.SetTicked("E2E Alpha", false);

    c.Start({"E2E Epsilon"});
    c.app.Keys("ctrl+shift+l");
    c.results.Check(c.app.WaitForRows([](const FormState& s) { return s.Row("E2E Epsilon"); }),
                    "Ctrl+Shift+L refreshes the list");
    c.Start({"E2E Zeta"});
    c.app.Keys("shift+l");
    c.sway.Pump(std::chrono::milliseconds(300));
    c.results.Check(!c.Listed("E2E Zeta"), "a key without Ctrl+Shift does nothing");
    c.app.Keys("ctrl+shift+l");
    c.app.WaitForRows([](const FormState& s) { return s.Row("E2E Zeta"); });
}

void TimedRefreshScenario(Context& c) {
    c.app.ClickControl("Option4");
    c.results.Check(c.sway.WaitFor([&] {
        const FormState s = c.app.State();
        return s.controls.at("Option4").value && s.controls.at("Text1").enabled;
    }),
                    "timed refresh is chosen");
    c.Start({"E2E Timed"});
    c.results.Check(c.app.WaitForRows([](const FormState& s) { return s.Row("E2E Timed"); },
                                      std::chrono::seconds(4)),
                    "timed refresh lists a new view without a click");
    c.app.ClickControl("Option3");
    c.sway.WaitFor([&] { return c.app.State().controls.at("Option3").value; });
    c.Start({"E2E Untimed"});
    c.sway.Pump(std::chrono::milliseconds(2500));
    c.results.Check(!c.Listed("E2E Untimed"), "without timed refresh the list stays as it was");
}

void KeepOnTopScenario(Context& c) {
    c.app.ClickControl("Option2");
    c.results.Check(c.sway.WaitFor([&] { return OwnViewPlaced(c, true); }),
                    "keep on top floats the program's own view and makes it sticky");
    c.results.Check(c.Refresh([](const FormState& s) { return !s.Row("Velmora Suite"); }) &&
                        c.app.State().Row("E2E Alpha"),
                    "floating, the program's own view is still never listed");
    c.app.ClickControl("Option1");
    c.results.Check(c.sway.WaitFor([&] { return OwnViewPlaced(c, false); }),
                    "regular tiles it again, not sticky");
}

}  // namespace e2e

// Hotkeys, timed refresh and the window priority options, as the user sets them.

#include <algorithm>

#include "Scenario.h"

namespace e2e {

namespace {

// Position from the top of the window manager's stacking; -1 when absent.
long StackingIndex(XDriver& x, Window window) {
    const auto stacking = x.StackingTopFirst();
    const auto at = std::find(stacking.begin(), stacking.end(), window);
    return at == stacking.end() ? -1 : at - stacking.begin();
}

}  // namespace

void HotkeyScenario(Context& c) {
    const Window alpha = c.targets.at("E2E Alpha");
    c.app.SetTicked("E2E Alpha", true);
    c.app.Keys("ctrl+shift+h");
    c.results.Check(c.x.WaitFor([&] { return !c.x.Info(alpha).viewable; }),
                    "Ctrl+Shift+H hides the ticked window");
    c.app.Keys("ctrl+shift+s");
    c.results.Check(c.x.WaitFor([&] { return c.x.Info(alpha).viewable; }),
                    "Ctrl+Shift+S shows it again");
    c.app.Keys("ctrl+shift+x");
    c.results.Check(c.x.WaitFor([&] { return c.HasState(alpha, "_NET_WM_STATE_MAXIMIZED_VERT"); }),
                    "Ctrl+Shift+X maximizes it");
    c.app.Keys("ctrl+shift+r");
    c.results.Check(c.x.WaitFor([&] { return !c.HasState(alpha, "_NET_WM_STATE_MAXIMIZED_VERT"); }),
                    "Ctrl+Shift+R restores it");
    c.app.SetTicked("E2E Alpha", false);

    const Window epsilon = c.Create(TargetKind::Normal, "E2E Epsilon");
    c.x.WaitFor([&] { return c.x.Info(epsilon).wmState == 1; });
    c.app.Keys("ctrl+shift+l");
    c.results.Check(c.app.WaitForRows([](const FormState& s) { return s.Row("E2E Epsilon"); }),
                    "Ctrl+Shift+L refreshes the list");
    c.app.Keys("shift+l");
    c.x.Pump(std::chrono::milliseconds(200));
    c.results.Check(c.x.Exists(epsilon) && c.x.Info(epsilon).viewable,
                    "a key without Ctrl+Shift does nothing");
}

void TimedRefreshScenario(Context& c) {
    c.app.ClickControl("Option4");
    c.results.Check(c.x.WaitFor([&] {
        const FormState s = c.app.State();
        return s.controls.at("Option4").value && !s.controls.at("Option3").value &&
               s.controls.at("Text1").enabled;
    }),
                    "choosing timed refresh selects it alone and enables the seconds field");
    const Window timed = c.Create(TargetKind::Normal, "E2E Timed");
    c.x.WaitFor([&] { return c.x.Info(timed).wmState == 1; });
    c.results.Check(c.app.WaitForRows([](const FormState& s) { return s.Row("E2E Timed"); },
                                  std::chrono::seconds(4)),
                    "timed refresh lists a new window without a click");

    c.app.ClickControl("Option3");
    c.results.Check(c.x.WaitFor([&] {
        const FormState s = c.app.State();
        return s.controls.at("Option3").value && !s.controls.at("Option4").value &&
               !s.controls.at("Text1").enabled;
    }),
                    "manual refresh turns timed refresh off");
    const Window untimed = c.Create(TargetKind::Normal, "E2E Untimed");
    c.x.WaitFor([&] { return c.x.Info(untimed).wmState == 1; });
    c.x.Pump(std::chrono::milliseconds(2500));
    c.results.Check(!c.Listed("E2E Untimed"), "without timed refresh the list stays as it was");
}

// The interval field's checks run when the focus moves between the form's controls, not when
// the user switches to another program and back. What the user types is saved as typed.
void IntervalFocusScenario(Context& c) {
    const auto typeInterval = [&c](std::initializer_list<const char*> keys,
                                   const std::string& typed) {
        c.app.Keys("ctrl+a");
        for (const char* key : keys) c.app.Keys(key);
        return c.x.WaitFor([&] { return c.SettingsHold("Text1=" + typed); });
    };
    const auto intervalIs = [&c](const std::string& text) {
        return c.x.WaitFor([&] {
            return c.app.State().controls.at("Text1").text == text &&
                   c.SettingsHold("Text1=" + text);
        });
    };
    c.app.ClickControl("Option4");
    c.app.ClickControl("Text1");
    c.results.Check(typeInterval({"a", "b", "c"}, "abc"), "abc is typed into the field");
    const Window alpha = c.targets.at("E2E Alpha");
    c.x.Activate(alpha);
    c.x.WaitFor([&] { return c.x.ActiveWindow() == alpha; });
    c.x.Pump(std::chrono::milliseconds(500));
    c.results.Check(!c.app.Dialog(),
                    "switching to another window with abc in the field shows no message");
    c.app.Bring();
    c.x.Pump(std::chrono::milliseconds(300));
    c.results.Check(!c.app.Dialog(), "nor does switching back");

    c.results.Check(typeInterval({"0", "period", "2"}, "0.2"), "0.2 is typed into the field");
    c.app.Keys("Tab");
    c.results.Check(intervalIs("0.5"), "tabbing out of 0.2 makes it 0.5");
    c.app.ClickControl("Text1");
    c.results.Check(typeInterval({"0", "period", "2"}, "0.2"), "0.2 is typed again");
    c.app.ClickControl("Option3");
    c.results.Check(c.x.WaitFor([&] {
        const FormState s = c.app.State();
        return s.controls.at("Option3").value && !s.controls.at("Text1").enabled;
    }) && intervalIs("0.5"),
                    "then a click on manual refresh: 0.5 is saved and manual refresh chosen");
    c.app.ClickControl("Option4");
    c.app.ClickControl("Text1");
    typeInterval({"1"}, "1");
    c.app.ClickControl("Option3");
}

void PriorityScenario(Context& c) {
    const Window form = c.app.form();
    const Window alpha = c.targets.at("E2E Alpha");
    c.app.ClickControl("Option2");
    c.results.Check(c.x.WaitFor([&] { return c.HasState(form, "_NET_WM_STATE_ABOVE"); }),
                    "keep-on-top puts the program's window in the above layer");
    c.x.Activate(alpha);
    c.x.WaitFor([&] { return c.x.ActiveWindow() == alpha; });
    c.x.Pump(std::chrono::milliseconds(200));
    c.results.Check(StackingIndex(c.x, form) < StackingIndex(c.x, alpha),
                    "an activated window stays below the program's window");

    c.app.ClickControl("Option1");
    c.results.Check(c.x.WaitFor([&] {
        if (c.HasState(form, "_NET_WM_STATE_ABOVE")) return false;
        const long own = StackingIndex(c.x, form);
        for (const auto& [title, window] : c.targets) {
            const long index = StackingIndex(c.x, window);
            if (index > own && c.x.Info(window).viewable) return false;
        }
        return true;
    }),
                    "regular window: out of the above layer and below every other window");

    // A screen reader's or voice control's action on an option does what a click does.
    for (const bool onTop : {true, false}) {
        c.app.Control(onTop ? "Option2" : "Option1").DoAction("Toggle");
        c.results.Check(
            c.x.WaitFor([&] { return c.HasState(form, "_NET_WM_STATE_ABOVE") == onTop; }) &&
                c.app.State().controls.at("Option2").value == onTop,
            std::string("the option's accessible action makes the window ") +
                (onTop ? "kept on top" : "regular"));
    }
}

}  // namespace e2e

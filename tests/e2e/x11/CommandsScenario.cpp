// Hide, Show, Minimize, Restore and Maximize of the ticked windows, checked on the X server.

#include "Scenario.h"

namespace e2e {

namespace {

constexpr long kNormalState = 1;
constexpr long kIconicState = 3;

}  // namespace

void CommandsScenario(Context& c) {
    const Window alpha = c.targets.at("E2E Alpha");
    const Window beta = c.targets.at("E2E Beta");
    c.results.Check(c.app.SetTicked("E2E Alpha", true), "a click on a row's check box ticks it");

    c.app.ClickControl("PushButton6");
    c.results.Check(c.x.WaitFor([&] {
        const WmInfo info = c.x.Info(alpha);
        return info.exists && !info.viewable && info.wmState != kNormalState &&
               info.wmState != kIconicState;
    }),
                    "Hide withdraws the ticked window");
    const RowState* hidden = c.app.State().Row("E2E Alpha");
    c.results.Check(hidden && hidden->status == "Hidden", "its row says Hidden");
    c.results.Check(c.x.Info(beta).viewable, "an unticked window stays shown");

    c.app.ClickControl("PushButton7");
    c.results.Check(c.x.WaitFor([&] {
        const WmInfo info = c.x.Info(alpha);
        return info.viewable && info.wmState == kNormalState;
    }),
                    "Show maps the ticked window again");
    const RowState* shown = c.app.State().Row("E2E Alpha");
    c.results.Check(shown && shown->status == "Visible", "its row says Visible again");

    c.app.ClickControl("PushButton9");
    c.results.Check(c.x.WaitFor([&] {
        return c.x.Info(alpha).wmState == kIconicState && c.HasState(alpha, "_NET_WM_STATE_HIDDEN");
    }),
                    "Minimize iconifies the ticked window (_NET_WM_STATE_HIDDEN)");
    c.results.Check(c.WaitForRows([](const FormState& s) {
        const RowState* row = s.Row("E2E Alpha");
        return row && !row->checked;
    }),
                    "a minimized window stays listed after the list is rebuilt");

    c.results.Check(c.app.SetTicked("E2E Alpha", true), "the minimized window can be ticked");
    c.app.ClickControl("PushButton11");
    c.results.Check(c.x.WaitFor([&] {
        const WmInfo info = c.x.Info(alpha);
        return info.viewable && info.wmState == kNormalState &&
               !c.HasState(alpha, "_NET_WM_STATE_HIDDEN");
    }),
                    "Restore brings a minimized window back");

    c.app.ClickControl("PushButton10");
    c.results.Check(c.x.WaitFor([&] {
        return c.HasState(alpha, "_NET_WM_STATE_MAXIMIZED_VERT") &&
               c.HasState(alpha, "_NET_WM_STATE_MAXIMIZED_HORZ");
    }),
                    "Maximize sets both maximized states");
    c.results.Check(!c.HasState(beta, "_NET_WM_STATE_MAXIMIZED_VERT"),
                    "an unticked window is not maximized");

    c.app.ClickControl("PushButton11");
    c.results.Check(c.x.WaitFor([&] {
        return !c.HasState(alpha, "_NET_WM_STATE_MAXIMIZED_VERT") &&
               !c.HasState(alpha, "_NET_WM_STATE_MAXIMIZED_HORZ");
    }),
                    "Restore clears the maximized states");
    c.app.SetTicked("E2E Alpha", false);
}

void CloseScenario(Context& c) {
    const Window sentinel = c.Create(TargetKind::Normal, "E2E Sentinel");
    c.x.WaitFor([&] { return c.x.Info(sentinel).wmState == kNormalState; });
    c.app.ClickControl("PushButton1");
    c.WaitForRows([](const FormState& s) { return s.Row("E2E Sentinel"); });
    const Window beta = c.targets.at("E2E Beta");
    const Window gamma = c.targets.at("E2E Gamma");
    const bool ticked = c.app.SetTicked("E2E Beta", true) && c.app.SetTicked("E2E Gamma", true);
    c.results.Check(ticked, "two rows ticked for Close");
    // A ticked window whose title changed is not the window the row names any more.
    c.x.Rename(gamma, "E2E Gamma renamed");
    c.x.Pump(std::chrono::milliseconds(200));

    c.app.ClickControl("PushButton8");
    // The renamed window's row has no window to switch to: the program reports that in a
    // message box and goes on once it is answered.
    std::string reportTitle, reportText;
    c.results.Check(
        c.x.WaitFor([&] { return c.app.Dialog(&reportTitle, &reportText).has_value(); },
                    std::chrono::seconds(8)),
        "the row whose window was renamed is reported");
    c.results.Check(reportTitle == "Application Error" &&
                        reportText.find("PushButton8_Click at line 106") != std::string::npos,
                    "the report is the error report, from Close's switch to the window",
                    reportTitle + ": " + reportText);
    c.app.DismissDialog();
    c.results.Check(c.x.WaitFor([&] { return !c.x.Exists(beta); }, std::chrono::seconds(8)),
                    "Close closes the ticked window (Alt+F4 reached it)");
    c.results.Check(c.WaitForRows([](const FormState& s) {
        return !s.Row("E2E Beta") && s.Row("E2E Gamma renamed");
    }),
                    "the list is rebuilt after Close");
    c.results.Check(c.x.Exists(gamma), "a ticked window renamed meanwhile is not closed");
    c.results.Check(c.x.Exists(sentinel) && c.x.Info(sentinel).viewable,
                    "an unticked window survives Close");
    c.results.Check(c.x.Exists(c.targets.at("E2E Alpha")), "the other windows survive Close");
}

}  // namespace e2e

// Hide, Show, Minimize, Restore, Maximize and Close of the ticked windows, checked on the X
// server.

#include <X11/Xatom.h>

#include <algorithm>

#include "Process.h"
#include "Scenario.h"

namespace e2e {

namespace {

constexpr long kNormalState = 1;
constexpr long kIconicState = 3;

// The error report of Close failing to switch to a row's window.
bool FromSwitch(const Box& box) {
    return box.title == "Application Error" &&
           box.text.find("PushButton8_Click at line 106") != std::string::npos;
}

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
    c.results.Check(c.app.WaitForRows([](const FormState& s) {
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
    const Window asker = c.Create(TargetKind::AsksFirst, "E2E Asker");
    const Window hidden = c.Create(TargetKind::Normal, "E2E Hidden");
    const pid_t vanishing =
        Spawn({"xclock", "-title", "E2E Vanishing xclock"}, {}, Output::Discarded);
    c.x.WaitFor([&] {
        return c.x.Info(sentinel).wmState == kNormalState &&
               c.x.Info(asker).wmState == kNormalState && c.x.Info(hidden).wmState == kNormalState;
    });
    c.app.ClickControl("PushButton1");
    c.results.Check(c.app.WaitForRows([](const FormState& s) {
        return s.Row("E2E Sentinel") && s.Row("E2E Asker") && s.Row("E2E Hidden") &&
               s.Row("E2E Vanishing xclock");
    }),
                    "the windows for Close are listed, a real xclock among them");
    // Hidden by the program, the window leaves the window manager's hands but keeps its row.
    c.app.SetTicked("E2E Hidden", true);
    c.app.ClickControl("PushButton6");
    c.x.WaitFor([&] { return !c.x.Info(hidden).viewable; });
    const Window beta = c.targets.at("E2E Beta");
    const Window gamma = c.targets.at("E2E Gamma");
    // A window that claims the program's process id is another program's window all the same.
    const long claimedPid = c.app.pid();
    XChangeProperty(c.x.display(), beta, XInternAtom(c.x.display(), "_NET_WM_PID", False),
                    XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&claimedPid), 1);
    bool ticked = true;
    for (const char* title :
         {"E2E Hidden", "E2E Beta", "E2E Gamma", "E2E Asker", "E2E Vanishing xclock"}) {
        ticked = c.app.SetTicked(title, true) && ticked;
    }
    c.results.Check(ticked, "five rows ticked for Close");
    // A ticked window whose title changed is not the window the row names any more; a ticked
    // client that ended has no window at all.
    c.x.Rename(gamma, "E2E Gamma renamed");
    Terminate(vanishing);
    c.x.Pump(std::chrono::milliseconds(200));

    c.app.ClickControl("PushButton8");
    // Each row without its window is reported in a message box; the walk goes on once the box
    // is answered.
    const std::vector<Box> boxes = c.app.AnswerBoxes(std::chrono::seconds(6));
    c.results.Check(boxes.size() == 2 && std::all_of(boxes.begin(), boxes.end(), FromSwitch),
                    "the renamed window and the vanished client are each reported, from Close's "
                    "switch to the window",
                    Describe(boxes));
    c.results.Check(c.x.WaitFor([&] { return !c.x.Exists(beta); }, std::chrono::seconds(8)),
                    "Close closes the ticked window through the window manager, though it "
                    "claims the program's process id");
    c.results.Check(c.x.WaitFor([&] { return !c.x.Exists(hidden); }),
                    "and a ticked window hidden by the program, asking it directly");
    c.results.Check(c.x.WaitFor([&] {
        const auto question = c.x.Question(asker);
        return question && c.x.Info(*question).viewable;
    }),
                    "a window that asks before closing shows its question");
    c.results.Check(c.x.Exists(asker) && c.x.Info(asker).viewable, "and stays open meanwhile");
    c.results.Check(c.app.WaitForRows([](const FormState& s) {
        return !s.Row("E2E Beta") && s.Row("E2E Gamma renamed") &&
               s.Row("E2E Asker - Save changes?");
    }),
                    "the list is rebuilt after Close");
    c.results.Check(c.x.Exists(gamma), "a ticked window renamed meanwhile is not closed");
    c.results.Check(c.x.Exists(sentinel) && c.x.Info(sentinel).viewable,
                    "an unticked window survives Close");
    c.results.Check(c.x.Exists(c.targets.at("E2E Alpha")), "the other windows survive Close");

    if (const auto question = c.x.Question(asker)) c.x.Destroy(*question);
    c.x.Destroy(asker);
    c.targets.erase("E2E Asker");
}

}  // namespace e2e

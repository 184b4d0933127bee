// The program on compositors nobody here wrote: labwc through its foreign-toplevel management,
// KWin through its window management and scripts, GNOME Shell through the project's extension.
// The test client's toplevels (on KWin an XWayland window too) are listed, never the program's
// own; Hide, Show, Minimize, Maximize and Restore act on exactly the ticked window and Close
// closes exactly it, each as the compositor itself reports the windows' states. On KWin Hide
// also takes the window off the task bar; on KWin and GNOME keep-on-top keeps the program's
// own window above the others. On GNOME, with the extension disabled, the program works on X11
// windows and says how to enable it, and follows the extension once it is enabled.

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "Process.h"
#include "Scenario.h"
#include "ToplevelDesktop.h"
#include "app/Product.h"

namespace e2e {

namespace {

using velmora::wayland::kToplevelActivated;
using velmora::wayland::kToplevelKeepAbove;
using velmora::wayland::kToplevelMaximized;
using velmora::wayland::kToplevelMinimized;
using velmora::wayland::kToplevelSkipTaskbar;

struct Step {
    const char* button;
    const char* what;
    std::function<bool(unsigned states)> holds;
};

// Ends the process when the scenario does.
struct Started {
    pid_t pid;
    ~Started() { Terminate(pid); }
};

}  // namespace

void CompositorScenario(ToplevelDesktop& desktop, Velmora& app, Results& results,
                        const std::string& clientProgram, const std::string& closeLog) {
    const std::string prefix = std::string("E2E ") + desktop.name();
    const std::string one = prefix + " one", two = prefix + " two", three = prefix + " three";
    std::vector<std::string> titles{one, two, three};
    TestClient client(clientProgram, closeLog, titles);
    const std::string x11 = prefix + " X11";
    const char* xwayland = std::getenv("VELMORA_E2E_XWAYLAND");
    const Started x11Client{desktop.ServesXWayland() && xwayland != nullptr
                                ? Spawn({"xlogo", "-title", x11}, {std::string("DISPLAY=") + xwayland},
                                        Output::Discarded)
                                : 0};
    if (desktop.ServesXWayland()) titles.push_back(x11);
    const auto state = [&](const std::string& title) {
        const velmora::wayland::Toplevel* toplevel = desktop.Titled(title);
        return toplevel ? toplevel->states : ToplevelDesktop::kGone;
    };
    // Left alone: neither minimized, maximized, hidden nor kept above (active or not).
    const auto untouched = [&](const std::string& title) {
        return (state(title) & ~kToplevelActivated) == 0;
    };
    results.Check(desktop.WaitFor([&] { return std::ranges::none_of(titles, [&](auto& t) {
        return state(t) == ToplevelDesktop::kGone;
    }); }), std::string(desktop.name()) + " shows the test windows", Join(titles));
    results.Check(app.Start(), std::string("the program starts on ") + desktop.name());
    std::vector<std::string> rows = app.State().Titles();
    std::vector<std::string> expected = titles;
    std::ranges::sort(rows);
    std::ranges::sort(expected);
    results.Check(rows == expected, "each is listed, the program's own window never", Join(rows));

    const unsigned hidden =
        kToplevelMinimized | (desktop.HidesFromTaskbar() ? kToplevelSkipTaskbar : 0);
    const Step steps[] = {
        {"PushButton6",
         desktop.HidesFromTaskbar() ? "Hide minimizes it and takes it off the task bar"
                                    : "Hide minimizes it",
         [&](unsigned s) { return (s & hidden) == hidden; }},
        {"PushButton7", "Show brings it back",
         [](unsigned s) { return !(s & (kToplevelMinimized | kToplevelSkipTaskbar)); }},
        {"PushButton9", "Minimize minimizes it", [](unsigned s) { return s & kToplevelMinimized; }},
        {"PushButton10", "Maximize shows and maximizes it",
         [](unsigned s) { return (s & kToplevelMaximized) && !(s & kToplevelMinimized); }},
        {"PushButton11", "Restore unmaximizes it",
         [](unsigned s) { return !(s & (kToplevelMaximized | kToplevelMinimized)); }},
    };
    for (const std::string& target :
         desktop.ServesXWayland() ? std::vector{two, x11} : std::vector{two}) {
        for (const Step& step : steps) {
            // Ticked afresh: Minimize rebuilds the list.
            const bool ticked = app.SetTicked(target, true);
            app.ClickControl(step.button);
            const bool held = desktop.WaitFor([&] { return step.holds(state(target)); });
            std::string states = "states";
            for (const std::string& title : titles) states += " " + std::to_string(state(title));
            results.Check(ticked && held && std::ranges::all_of(titles, [&](auto& t) {
                return t == target || untouched(t);
            }), std::string(step.what) + ", the others are left alone (" + target + ")", states);
        }
        app.SetTicked(target, false);
    }

    if (desktop.KeepsAbove()) {
        app.ClickControl("Option2");
        results.Check(desktop.WaitFor([&] {
            return (desktop.States(app.form()) & kToplevelKeepAbove) != 0;
        }), "keep on top keeps the program's own window above the others");
        app.ClickControl("Option1");
        results.Check(desktop.WaitFor([&] {
            return (desktop.States(app.form()) & kToplevelKeepAbove) == 0;
        }), "regular lets it go again");
    }

    std::vector<std::string> closing{three};
    if (desktop.ServesXWayland()) closing.push_back(x11);
    for (const std::string& title : closing) app.SetTicked(title, true);
    app.ClickControl("PushButton8");
    results.Check(desktop.WaitFor([&] { return std::ranges::all_of(closing, [&](auto& t) {
        return state(t) == ToplevelDesktop::kGone;
    }); }) && untouched(one) && untouched(two) &&
                      LoggedCloses(closeLog) == std::vector<std::string>{"closed " + three},
                  "Close closes exactly the ticked windows", Join(LoggedCloses(closeLog)));

    app.ClickControl("PushButton2");
    app.ClickControl("PushButton9");
    results.Check(desktop.WaitFor([&] {
        return state(one) == kToplevelMinimized && state(two) == kToplevelMinimized;
    }) && desktop.Shown(app.form()), "Check All and Minimize leave the program's own window shown");

    if (!desktop.ThroughExtension()) return;
    const auto extension = [&](const char* command) {
        const pid_t running = Spawn({"gnome-extensions", command, "velmora-suite@quillfern.com"});
        desktop.WaitFor([&] { return Ended(running); });
    };
    const auto listedAfterRefresh = [&](const std::function<bool(const FormState&)>& holds) {
        return desktop.WaitFor([&] {
            app.ClickControl("PushButton1");
            return holds(app.State());
        });
    };
    extension("disable");
    results.Check(listedAfterRefresh([](const FormState& form) { return form.Titles().empty(); }) &&
                      !app.Dialog().has_value(),
                  "with the extension gone (as on the lock screen) nothing is listed, no error");
    app.Stop();
    results.Check(xwayland != nullptr && app.Start({std::string("DISPLAY=") + xwayland}),
                  "with the extension disabled the program starts");
    // Read, not answered: no key is typed here.
    std::string notice;
    desktop.WaitFor([&] { return app.Dialog(nullptr, &notice).has_value(); });
    results.Check(notice.starts_with("On this desktop Velmora Suite can reach only the windows "
                                     "of X11 programs") &&
                      notice.ends_with("run gnome-extensions enable velmora-suite@quillfern.com, "
                                       "then log out and in once.") &&
                      !app.State().Row(one),
                  "it lists X11 windows only and says how to enable the extension", notice);

    app.PressDialogButton("OK");
    extension("enable");
    results.Check(listedAfterRefresh([&](const FormState& form) {
        return form.Row(one) && form.Row(two) && !form.Row(std::string(velmora::kProductName));
    }), "enabled meanwhile, the extension is followed: Wayland windows listed, the own never",
                  Join(app.State().Titles()));
    app.SetTicked(one, true);
    app.ClickControl("PushButton11");
    results.Check(desktop.WaitFor([&] { return untouched(one); }) &&
                      state(two) == kToplevelMinimized,
                  "and Restore restores exactly the ticked Wayland window through it");
}

}  // namespace e2e

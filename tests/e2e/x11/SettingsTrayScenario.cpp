// The choices survive a restart through the settings file; the window hides into the tray,
// also after the notification area restarts.

#include <X11/Xutil.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/types.h>
#include <unistd.h>

#include <csignal>
#include <optional>

#include "Scenario.h"

namespace e2e {

namespace {

// The process of the notification area (trayer), from its panel window; 0 when none runs.
pid_t TrayerPid(Context& c) {
    for (const Window window : c.x.WindowsWithProperty("_NET_WM_PID")) {
        XClassHint hint{};
        if (!XGetClassHint(c.x.display(), window, &hint)) continue;
        const bool trayer = hint.res_name && std::string(hint.res_name) == "trayer";
        XFree(hint.res_name);
        XFree(hint.res_class);
        const std::optional<long> pid = c.x.Cardinal(window, "_NET_WM_PID");
        if (trayer) return pid ? static_cast<pid_t>(*pid) : 0;
    }
    return 0;
}

// Ends the running trayer and starts another, as the desktop script starts it; true once the
// new one's panel is up. The new trayer ends with the X server.
bool RestartTrayer(Context& c) {
    const pid_t old = TrayerPid(c);
    if (old == 0 || kill(old, SIGTERM) != 0) return false;
    if (!c.x.WaitFor([&] { return TrayerPid(c) == 0; })) return false;
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const char* const argv[] = {"trayer", "--edge", "bottom", "--align", "right", "--widthtype",
                                "pixel", "--width", "120", "--height", "24", "--SetDockType",
                                "true", "--transparent", "false", nullptr};
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "trayer", &quiet, nullptr,
                                     const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&quiet);
    return spawned == 0 && c.x.WaitFor([&] { return TrayerPid(c) == child; });
}

bool HiddenInTray(Context& c, Window form) {
    return c.x.WaitFor([&] {
        const WmInfo info = c.x.Info(form);
        return !info.viewable && info.wmState != 3;
    });
}

bool BroughtBackByClick(Context& c, Window form, Window icon) {
    XWindowAttributes attributes;
    XGetWindowAttributes(c.x.display(), icon, &attributes);
    c.x.Click(icon, attributes.width / 2, attributes.height / 2);
    return c.x.WaitFor([&] {
        const WmInfo info = c.x.Info(form);
        return info.viewable && info.wmState == 1 && c.x.ActiveWindow() == form;
    });
}

}  // namespace

void SettingsScenario(Context& c) {
    c.app.ClickControl("Option2");
    c.app.ClickControl("Option4");
    c.app.ClickControl("Text1");
    c.app.Keys("ctrl+a");
    c.app.Keys("3");
    c.x.Pump(std::chrono::milliseconds(300));
    c.results.Check(c.SettingsHold("Option1=False") && c.SettingsHold("Option2=True"),
                    "the priority choice is written to the settings file");
    c.results.Check(c.SettingsHold("Option3=False") && c.SettingsHold("Option4=True"),
                    "the refresh choice is written to the settings file");
    c.results.Check(c.SettingsHold("Text1=3"),
                    "the typed interval is written to the settings file");

    c.x.RequestClose(c.app.form());
    c.results.Check(c.app.WaitForExit(std::chrono::seconds(5)) == 0,
                    "closing the window ends the program");

    c.results.Check(c.app.Start(), "the program starts again");
    c.results.Check(c.x.WaitFor([&] {
        const FormState s = c.app.State();
        return s.controls.at("Option2").value && !s.controls.at("Option1").value &&
               s.controls.at("Option4").value && s.controls.at("Text1").text == "3";
    }),
                    "the choices are restored at the next start");
    c.results.Check(c.x.WaitFor([&] { return c.HasState(c.app.form(), "_NET_WM_STATE_ABOVE"); }),
                    "the restored keep-on-top choice is in effect");
    c.app.ClickControl("Option1");
    c.app.ClickControl("Option3");
}

void TrayScenario(Context& c) {
    const Window form = c.app.form();
    c.x.Iconify(form);
    c.results.Check(HiddenInTray(c, form), "minimizing hides the window into the tray");
    Window icon = 0;
    c.x.WaitFor([&] { return (icon = c.TrayIcon()) != 0; });
    c.results.Check(icon != 0, "the program's icon is in the notification area");
    if (icon == 0) return;
    c.results.Check(BroughtBackByClick(c, form, icon),
                    "a click on the tray icon brings the window back, active and not minimized");

    c.results.Check(RestartTrayer(c), "the notification area restarts");
    icon = 0;
    c.results.Check(c.x.WaitFor([&] { return (icon = c.TrayIcon()) != 0; }),
                    "the icon is back in the restarted notification area");
    c.app.Bring();
    c.x.Iconify(form);
    c.results.Check(HiddenInTray(c, form),
                    "after the restart, minimizing still hides the window into the tray");
    icon = c.TrayIcon();
    c.results.Check(icon != 0 && BroughtBackByClick(c, form, icon),
                    "and a click on the new icon brings it back");
}

}  // namespace e2e

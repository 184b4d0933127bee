// The choices survive a restart through the settings file; the window hides into the tray.

#include <fstream>
#include <sstream>

#include "Scenario.h"

namespace e2e {

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool HasLine(const std::string& text, const std::string& line) {
    std::stringstream lines(text);
    std::string each;
    while (std::getline(lines, each)) {
        if (each == line) return true;
    }
    return false;
}

}  // namespace

void SettingsScenario(Context& c) {
    c.app.ClickControl("Option2");
    c.app.ClickControl("Option4");
    c.app.ClickControl("Text1");
    c.app.Keys("ctrl+a");
    c.app.Keys("3");
    c.x.Pump(std::chrono::milliseconds(300));
    const std::string saved = ReadFile(c.settingsFile);
    c.results.Check(HasLine(saved, "Option1=False") && HasLine(saved, "Option2=True"),
                    "the priority choice is written to the settings file", saved);
    c.results.Check(HasLine(saved, "Option3=False") && HasLine(saved, "Option4=True"),
                    "the refresh choice is written to the settings file");
    c.results.Check(HasLine(saved, "Text1=3"),
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
    c.results.Check(c.x.WaitFor([&] {
        const WmInfo info = c.x.Info(form);
        return !info.viewable && info.wmState != 3;
    }),
                    "minimizing hides the window into the tray");
    Window icon = 0;
    c.x.WaitFor([&] {
        for (const Window window : c.x.WindowsWithProperty("_XEMBED_INFO")) {
            if (c.x.Cardinal(window, "_NET_WM_PID") == c.app.pid()) icon = window;
        }
        return icon != 0;
    });
    c.results.Check(icon != 0, "the program's icon is in the notification area");
    if (icon == 0) return;
    XWindowAttributes attributes;
    XGetWindowAttributes(c.x.display(), icon, &attributes);
    c.x.Click(icon, attributes.width / 2, attributes.height / 2);
    c.results.Check(c.x.WaitFor([&] {
        const WmInfo info = c.x.Info(form);
        return info.viewable && info.wmState == 1 && c.x.ActiveWindow() == form;
    }),
                    "a click on the tray icon brings the window back, active and not minimized");
}

}  // namespace e2e

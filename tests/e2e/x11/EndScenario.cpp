// The program's end, by its window's close and by SIGTERM or SIGHUP: it exits normally, its
// tray icon goes, and a keycode it lent to the keyboard is given back. The keymap here lacks
// F4, so the Alt+F4 of Close is typed on a spare keycode.

#include <X11/keysym.h>
#include <signal.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Scenario.h"

namespace e2e {

namespace {

// The server's whole keyboard mapping, as every client reads it afresh.
std::vector<KeySym> Keymap(::Display* display) {
    int first = 0, last = 0, perKey = 0;
    XDisplayKeycodes(display, &first, &last);
    const std::unique_ptr<KeySym, int (*)(void*)> map(
        XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1, &perKey),
        XFree);
    return std::vector<KeySym>(map.get(), map.get() + (last - first + 1) * perKey);
}

bool Types(const std::vector<KeySym>& keymap, KeySym keysym) {
    return std::find(keymap.begin(), keymap.end(), keysym) != keymap.end();
}

// The F4 key's mapping taken out of the keymap while it lives, and put back after.
class KeymapWithoutF4 {
public:
    explicit KeymapWithoutF4(::Display* display) : display_(display) {
        code_ = XKeysymToKeycode(display, XK_F4);
        if (code_ == 0) return;
        const std::unique_ptr<KeySym, int (*)(void*)> syms(
            XGetKeyboardMapping(display, code_, 1, &perKey_), XFree);
        saved_.assign(syms.get(), syms.get() + perKey_);
        std::vector<KeySym> none(saved_.size(), NoSymbol);
        XChangeKeyboardMapping(display, code_, perKey_, none.data(), 1);
        XSync(display, False);
    }
    ~KeymapWithoutF4() {
        if (code_ == 0) return;
        XChangeKeyboardMapping(display_, code_, perKey_, saved_.data(), 1);
        XSync(display_, False);
    }
    KeymapWithoutF4(const KeymapWithoutF4&) = delete;
    KeymapWithoutF4& operator=(const KeymapWithoutF4&) = delete;

private:
    ::Display* display_;
    KeyCode code_ = 0;
    int perKey_ = 0;
    std::vector<KeySym> saved_;
};

// Starts the program and has it close a ticked window, so that F4 is lent a spare keycode;
// the step that failed, or nothing once the keymap shows F4.
std::string StartAndLendF4(Context& c, const std::string& title) {
    c.app.Stop();
    if (!c.app.Start()) return "start";
    const Window target = c.Create(TargetKind::Normal, title);
    c.x.WaitFor([&] { return c.x.Info(target).wmState == 1; });
    c.app.ClickControl("PushButton1");
    if (!c.WaitForRows([&](const FormState& s) { return s.Row(title); })) return "listing";
    if (!c.app.SetTicked(title, true)) return "ticking";
    c.app.ClickControl("PushButton8");
    if (!c.x.WaitFor([&] { return Types(Keymap(c.x.display()), XK_F4); })) return "typing";
    return {};
}

}  // namespace

void EndScenario(Context& c) {
    ::Display* display = c.x.display();
    {
        const KeymapWithoutF4 noF4(display);
        const std::vector<KeySym> before = Keymap(display);
        c.results.Check(!Types(before, XK_F4), "the keymap has no F4 key");

        std::string failed = StartAndLendF4(c, "E2E Farewell One");
        c.results.Check(failed.empty(), "Close types Alt+F4 with F4 on a spare keycode", failed);
        c.x.RequestClose(c.app.form());
        c.results.Check(c.app.WaitForExit(std::chrono::seconds(5)) == 0,
                        "closing the window ends the program normally");
        c.results.Check(Keymap(display) == before, "the spare keycode is given back at the end");

        for (const auto& [signal, name] :
             {std::pair{SIGTERM, "SIGTERM"}, std::pair{SIGHUP, "SIGHUP"}}) {
            failed = StartAndLendF4(c, std::string("E2E Farewell ") + name);
            c.results.Check(failed.empty(), std::string("F4 is lent again before ") + name, failed);
            Window icon = 0;
            c.x.WaitFor([&] { return (icon = c.TrayIcon()) != 0; });
            c.results.Check(icon != 0, "the tray icon is there before the session ends");
            kill(c.app.pid(), signal);
            c.results.Check(c.app.WaitForExit(std::chrono::seconds(5)) == 0,
                            std::string(name) + " ends the program normally (exit status 0)");
            c.results.Check(!c.x.Exists(icon), std::string(name) + " takes the tray icon away");
            c.results.Check(Keymap(display) == before,
                            std::string(name) + " gives the spare keycode back too");
        }
    }
    c.results.Check(c.app.Start(), "the program starts again with the whole keymap");
}

}  // namespace e2e

// The backend's keyboard and window calls, used directly against the live desktop: what the
// program's core asks of them, checked with what the X server then reports.

#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <array>
#include <cstdlib>
#include <vector>

#include "Scenario.h"
#include "app/Enum.h"
#include "app/Globals.h"
#include "platform/RuntimeError.h"
#include "platform/qt/QtText.h"
#include "platform/x11/X11Keyboard.h"
#include "platform/x11/X11WindowSystem.h"
#include "platform/x11/XConnection.h"
#include "platform/x11/XState.h"

namespace e2e {

namespace {

velmora::KeyInputRecord Key(std::uint16_t virtualKey, bool up) {
    return {.type = velmora::kInputKeyboard,
            .virtualKey = virtualKey,
            .flags = up ? velmora::kKeyEventKeyUp : 0};
}

velmora::KeyInputRecord Unicode(char16_t unit, bool up) {
    return {.type = velmora::kInputKeyboard,
            .scanCode = unit,
            .flags = velmora::kKeyEventUnicode | (up ? velmora::kKeyEventKeyUp : 0)};
}

// A client list full of ids of windows that do not exist, as any client may write one: none is
// listed, and the walk leaves none of the errors they cause queued on its connection, where
// they would pile up with every refresh.
void FakeClientIds(Context& c, velmora::x11::XConnection& connection,
                   velmora::x11::X11WindowSystem& windows) {
    constexpr int kFakeIds = 10000;
    constexpr long kFirstFakeId = 0x1FE00001;  // a client range no test client is given
    Display* display = c.x.display();
    const Atom stacking = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False);
    std::vector<Window> topFirst = c.x.StackingTopFirst();
    std::vector<long> saved(topFirst.rbegin(), topFirst.rend());
    std::vector<long> fake(kFakeIds);
    for (int i = 0; i < kFakeIds; ++i) fake[i] = kFirstFakeId + i;
    const auto write = [&](const std::vector<long>& ids) {
        XChangeProperty(display, DefaultRootWindow(display), stacking, XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(ids.data()),
                        static_cast<int>(ids.size()));
        XSync(display, False);
    };
    write(fake);
    velmora::Globals globals;
    velmora::Enum enumerator(windows, globals);
    const int listed = enumerator.GetOpenWindows(0);
    int queued = 0;
    while (xcb_generic_event_t* left = xcb_poll_for_queued_event(connection.state().connection)) {
        ++queued;
        std::free(left);
    }
    write(saved);
    c.results.Check(listed == 0, "none of 10,000 ids of windows that do not exist is listed");
    c.results.Check(queued == 0, "the walk leaves none of their errors queued on its connection",
                    std::to_string(queued) + " left");
}

}  // namespace

void BackendScenario(Context& c) {
    using velmora::qt::ContainsIgnoringCase;
    c.results.Check(ContainsIgnoringCase("Velmora Cmd Ärger", "cmd äRGER") &&
                        ContainsIgnoringCase("Окно Проводника", "окно пРОВОДНИКА") &&
                        ContainsIgnoringCase("Ωμέγα", "ΩΜΈΓΑ") && ContainsIgnoringCase("Ω", ""),
                    "text search ignores the case of non-ASCII letters");
    c.results.Check(!ContainsIgnoringCase("Velmora Cmd Ärger", "arger") &&
                        !ContainsIgnoringCase("Velmora Cmd One", "cmd t"),
                    "text search matches no other letters");

    velmora::x11::XConnection connection;
    velmora::x11::X11Keyboard keyboard(connection);
    velmora::x11::X11WindowSystem windows(connection);

    c.results.Check(keyboard.VkKeyScan(u'a') == 'A', "VkKeyScan: a is the A key unshifted");
    c.results.Check(keyboard.VkKeyScan(u'A') == 0x100 + 'A', "VkKeyScan: A needs Shift");
    c.results.Check(keyboard.VkKeyScan(u'!') == 0x100 + '1', "VkKeyScan: ! is Shift+1 (US)");
    c.results.Check(keyboard.VkKeyScan(u'ж') == -1, "VkKeyScan: a character with no key is -1");
    c.results.Check(keyboard.MapVirtualKey('A', keyboard.GetKeyboardLayout()) == 30,
                    "MapVirtualKey: A has the scan code 30");

    const Window target = c.Create(TargetKind::Normal, "E2E Keys");
    c.x.ListenForKeys(target);
    c.x.WaitFor([&] { return c.x.Info(target).wmState == 1; });
    windows.ActivateWindow("E2E Keys", 0);
    c.results.Check(windows.GetForegroundWindow() == target,
                    "ActivateWindow brings the window with that exact title forward");
    bool refused = false;
    try {
        windows.ActivateWindow("E2E No Such Window", 0);
    } catch (const velmora::RuntimeError& error) {
        refused = error.number() == 5;
    }
    c.results.Check(refused, "ActivateWindow reports a title no window has");
    FakeClientIds(c, connection, windows);

    // Titles are valid UTF-8 however the client wrote them, so Close finds a window by the text
    // its row shows: a byte that is no UTF-8 is replaced, and a character that the read's limit
    // cuts in two is dropped.
    const Window badBytes = c.Create(TargetKind::Normal, "E2E Bad \xFF title");
    const std::string longest(4095, 'a');
    const Window cut = c.Create(TargetKind::Normal, longest + "é");
    c.x.WaitFor([&] { return c.x.Info(badBytes).wmState == 1 && c.x.Info(cut).wmState == 1; });
    c.results.Check(windows.WindowTitle(badBytes) == "E2E Bad \uFFFD title",
                    "a title byte that is no UTF-8 reads as U+FFFD");
    c.results.Check(windows.WindowTitle(cut) == longest,
                    "a character cut by the title's read limit is dropped");
    bool found = true;
    try {
        windows.ActivateWindow("E2E Bad \uFFFD title", 0);
    } catch (const velmora::RuntimeError&) {
        found = false;
    }
    c.results.Check(found, "a window is found by the title as read, bad bytes and all");
    windows.ActivateWindow("E2E Keys", 0);  // the keys below go to it

    // A walk cut short (as by a window past the table's end) is ended all the same: what it
    // read is dropped, and a title asked for later is the window's title then.
    velmora::Hwnd walked = windows.GetWindow(0, velmora::kGwHwndFirst);
    while (walked != 0 && walked != target) walked = windows.GetWindow(walked, velmora::kGwHwndNext);
    c.x.Rename(target, "E2E Keys Renamed");
    XSync(c.x.display(), False);
    windows.EndWalk();
    c.results.Check(walked == target && windows.WindowTitle(target) == "E2E Keys Renamed",
                    "after a walk is ended, a title is read afresh");
    c.x.Rename(target, "E2E Keys");

    c.x.TakeTypedKeysyms();
    const std::array records{Key('B', false),     Key('B', true),       Unicode(u'ж', false),
                             Unicode(u'ж', true), Unicode(u'é', false), Unicode(u'é', true)};
    keyboard.SendInput(records);
    std::vector<unsigned long> typed;
    c.x.WaitFor([&] {
        for (const unsigned long keysym : c.x.TakeTypedKeysyms()) typed.push_back(keysym);
        return typed.size() >= 3;
    });
    // Characters outside Latin-1 are typed as Unicode keysyms.
    constexpr unsigned long kUnicodeZhe = 0x01000000 | u'ж';
    const std::vector<unsigned long> expected{XK_b, kUnicodeZhe, XK_eacute};
    std::string got;
    for (const unsigned long keysym : typed) got += std::to_string(keysym) + " ";
    c.results.Check(typed == expected,
                    "SendInput types keys and Unicode characters (spare keycodes) in order",
                    "keysyms " + got);

    c.x.Destroy(target);
    windows.ShowWindow(target, velmora::kSwRestore);
    c.results.Check(windows.WindowStyle(target) == 0 && windows.WindowTitle(target).empty(),
                    "a window that is gone has no style or title and is left alone");
}

}  // namespace e2e

// Velmora Suite on Linux: the core on Qt Widgets for its own window, and on whichever way the
// session offers to reach the other windows: sway's IPC, else KWin's window-management
// protocol, else the project's GNOME Shell extension, else a wlroots compositor's
// foreign-toplevel management, else X11 (also through XWayland).

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "FollowingWindowSystem.h"
#include "WindowsWay.h"
#include "app/Product.h"
#include "app/Program.h"
#include "platform/gnome/ShellExtensionWire.h"
#include "platform/kwin/PlasmaWindowWire.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtFormWidgets.h"
#include "platform/qt/QtRuntime.h"
#include "platform/qt/QtTrayShell.h"
#include "platform/qt/SessionEnd.h"
#include "platform/wayland/ForeignToplevelWindowSystem.h"
#include "platform/wayland/KeylessKeyboard.h"
#include "platform/wayland/SessionCompositor.h"
#include "platform/wayland/SwayConnection.h"
#include "platform/wayland/SwayWindowSystem.h"
#include "platform/wayland/WlrToplevelWire.h"
#include "platform/x11/QtClientIds.h"
#include "platform/x11/QtTrayAnnouncements.h"
#include "platform/x11/X11Keyboard.h"
#include "platform/x11/X11WindowSystem.h"
#include "platform/x11/XConnection.h"

namespace {

using namespace velmora;

constexpr char kOnlyX11Windows[] =
    "On this desktop Velmora Suite can reach only the windows of X11 programs: windows of "
    "Wayland programs are not listed.";
// KWin offers its window management only to programs installed to ask for it.
constexpr char kInstallForPlasma[] =
    " On KDE Plasma it reaches every window once installed (its package, or cmake --install) "
    "and started from where it was installed; before Plasma 6, only while fewer than about 100 "
    "windows are open.";

// The program's Wayland app id, its desktop entry's name: other windows with this app id and
// the program's title are its own.
constexpr char kAppId[] = "velmora-suite";

bool WaylandSession() { return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"); }

// The session's desktop names itself `name` (KDE for Plasma, GNOME).
bool SessionDesktopIs(const char16_t* name) {
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':').contains(name);
}

// What the start-up notice adds where the session's desktop could give every window.
std::string AdviceForDesktop() {
    if (SessionDesktopIs(u"KDE")) return kInstallForPlasma;
    // GNOME lets other programs reach windows only through an extension its user enables.
    if (SessionDesktopIs(u"GNOME")) {
        return std::string(" On GNOME it reaches every window once its GNOME Shell extension is "
                           "enabled: run gnome-extensions enable ") +
               gnome::kExtensionUuid + ", then log out and in once.";
    }
    return {};
}

// Qt's platform for the program's own window: the one the chosen way to the other windows
// needs (on X11 the program knows its own window as an X11 window).
void UseQtPlatform(const char* platforms) { qputenv("QT_QPA_PLATFORM", platforms); }

void NameApplication() { QGuiApplication::setDesktopFileName(kAppId); }

// Runs the core on the given window system and keyboard until it ends. `afterStart` runs once
// the main window is up; `bringFormForward`, if any, helps Qt give the form the focus.
int RunProgram(WindowSystem& windows, Keyboard& keyboard, qt::TrayStartWatch trayStarts,
               const std::function<void(qt::QtRuntime&, const Program&)>& afterStart,
               std::function<void()> bringFormForward = {}) {
    qt::Pictures pictures;
    qt::QtFormWidgets widgets(pictures, std::move(bringFormForward));
    qt::QtRuntime runtime(pictures);
    qt::QtTrayShell shell(pictures, std::move(trayStarts));
    Platform platform{windows, keyboard, runtime, widgets, shell};
    Program program(platform);
    qt::SessionEnd sessionEnd([&program] { program.MainForm().QueryUnload(); });
    if (!program.Start()) return 0;
    if (afterStart) {
        QTimer::singleShot(0, [&] {
            // The program may be ended (SIGTERM, log-off) while a start-up notice is open; the
            // event loop is already told to return by then.
            try {
                afterStart(runtime, program);
            } catch (const ProgramEnded&) {
            }
        });
    }
    return QApplication::exec();
}

int RunOnSway(int argc, char** argv, wayland::SwayConnection& sway) {
    UseQtPlatform("wayland;xcb");
    QApplication application(argc, argv);
    NameApplication();
    wayland::SwayWindowSystem windows(sway, static_cast<std::int64_t>(::getpid()));
    wayland::KeylessKeyboard keyboard;
    // The program's window gets its view only once it is drawn: a keep-on-top chosen before
    // is asked again every 100 ms for at most 5 s. A sway that fails meanwhile is reported by
    // the next command.
    QTimer placer;
    placer.setInterval(100);
    int tries = 50;
    QObject::connect(&placer, &QTimer::timeout, [&] {
        bool done = --tries == 0;
        try {
            done = windows.PlacePendingOwnViews() || done;
        } catch (const RuntimeError&) {
            done = true;
        }
        if (done) placer.stop();
    });
    return RunProgram(
        windows, keyboard, {}, [&placer](qt::QtRuntime&, const Program&) { placer.start(); },
        [&windows] { windows.FocusOwnView(); });
}

constexpr char kNoWayIn[] = "velmora: no X display and no supported Wayland compositor\n";

// The connection to the X display; nullptr when there is none.
std::unique_ptr<x11::XConnection> ConnectX11() {
    try {
        return std::make_unique<x11::XConnection>();
    } catch (const std::exception&) {
        return nullptr;
    }
}

// The windows through the GNOME Shell extension for a program whose own window is on XWayland,
// known there by its process and title; nullptr while the extension is not there.
std::unique_ptr<WindowSystem> ShellExtensionWindowsForX11Form() {
    std::unique_ptr<wayland::ForeignToplevelWire> wire = gnome::ConnectShellExtension();
    if (!wire) return nullptr;
    return std::make_unique<wayland::ForeignToplevelWindowSystem>(
        std::move(wire), wayland::OwnWindow{{}, std::string(kProductName),
                                            static_cast<std::uint32_t>(::getpid())});
}

// Runs the core on X11 windows; the application is on Qt's X11 platform. `advice`, if any,
// follows the notice that only X11 programs' windows are reached. On GNOME's Wayland session
// the program takes the Shell extension whenever it is there: the user may enable it later.
int RunOnX11Windows(x11::XConnection& connection, std::string advice = {}) {
    x11::X11WindowSystem x11Windows(connection, x11::QtClientIds());
    std::optional<session::FollowingWindowSystem> following;
    if (WaylandSession() && SessionDesktopIs(u"GNOME")) {
        following.emplace(x11Windows, ShellExtensionWindowsForX11Form,
                          gnome::ShellExtensionAnswers);
    }
    WindowSystem& windows = following ? static_cast<WindowSystem&>(*following) : x11Windows;
    x11::X11Keyboard keyboard(connection);
    std::function<void(qt::QtRuntime&, const Program&)> sayOnlyX11;
    if (WaylandSession()) {
        sayOnlyX11 = [advice](qt::QtRuntime& runtime, const Program& program) {
            runtime.MsgBox(kOnlyX11Windows + advice, vbOKOnly, program.globals().AppTitle);
        };
    }
    return RunProgram(windows, keyboard, x11::WatchTrayAnnouncements, sayOnlyX11);
}

// `connection` is made before Qt, which aborts the program when its platform finds no display.
int RunOnX11(int argc, char** argv, x11::XConnection& connection) {
    // The program works on X11 windows, so its own window must be one too.
    UseQtPlatform("xcb");
    QApplication application(argc, argv);
    NameApplication();
    // Neither KWin's window management nor the GNOME Shell extension was there.
    return RunOnX11Windows(connection, AdviceForDesktop());
}

// Runs the core on the windows a Wayland compositor announces over `wire` (KWin's protocol,
// the GNOME Shell extension, or a wlroots compositor's foreign-toplevel management).
int RunOnToplevels(int argc, char** argv, std::unique_ptr<wayland::ForeignToplevelWire> wire) {
    UseQtPlatform("wayland;xcb");
    QApplication application(argc, argv);
    NameApplication();
    // Without Qt's Wayland platform the form is an XWayland window, which compositors list
    // under an app id of their own making: the program could not tell it from the others. It
    // works on X11 windows then, as on desktops without the protocol.
    if (QGuiApplication::platformName() != QLatin1String("wayland")) {
        wire.reset();
        const std::unique_ptr<x11::XConnection> connection = ConnectX11();
        if (connection) return RunOnX11Windows(*connection);
        std::fputs(kNoWayIn, stderr);
        return 1;
    }
    wayland::ForeignToplevelWire& events = *wire;
    wayland::ForeignToplevelWindowSystem windows(
        std::move(wire), wayland::OwnWindow{kAppId, std::string(kProductName),
                                            static_cast<std::uint32_t>(::getpid())});
    // Events are taken in as they arrive, so that they never pile up while the program idles
    // (a wire that is asked, never told, has no socket).
    std::optional<QSocketNotifier> arrivals;
    if (events.EventSocket() >= 0) {
        QSocketNotifier& watch = arrivals.emplace(events.EventSocket(), QSocketNotifier::Read);
        QObject::connect(&watch, &QSocketNotifier::activated, [&events, &watch] {
            // A failed connection is reported by the next command.
            if (!events.TakeInArrived()) watch.setEnabled(false);
        });
    }
    wayland::KeylessKeyboard keyboard;
    return RunProgram(windows, keyboard, {}, {});
}

}  // namespace

int main(int argc, char** argv) {
    const std::string swaySocket = wayland::SwaySocketPath();
    std::optional<wayland::SwayConnection> sway;
    std::unique_ptr<wayland::ForeignToplevelWire> toplevels;
    const auto offered = [&toplevels](std::unique_ptr<wayland::ForeignToplevelWire> wire) {
        toplevels = std::move(wire);
        return toplevels != nullptr;
    };
    std::unique_ptr<x11::XConnection> x11;
    const session::WindowsWay way = session::ChooseWindowsWay({
        // A sway socket inherited from another session would hand the program that desktop's
        // windows: it is used only when its sway serves this session's Wayland display.
        .swayServesSession =
            [&] {
                if (!wayland::ServedByOneProcess(swaySocket,
                                                 wayland::WaylandDisplaySocketPath())) {
                    return false;
                }
                return sway.emplace(swaySocket).Answers();
            },
        .waylandSession = WaylandSession,
        .plasmaWindows = [&] { return offered(kwin::ConnectPlasmaWindows()); },
        .shellExtension = [&] { return offered(gnome::ConnectShellExtension()); },
        .wlrToplevels = [&] { return offered(wayland::ConnectWlrToplevels()); },
        .xDisplay = [&] { return (x11 = ConnectX11()) != nullptr; },
    });
    switch (way) {
        case session::WindowsWay::Sway: return RunOnSway(argc, argv, *sway);
        case session::WindowsWay::KWin:
        case session::WindowsWay::GnomeShell:
        case session::WindowsWay::WlrToplevels:
            return RunOnToplevels(argc, argv, std::move(toplevels));
        case session::WindowsWay::X11: return RunOnX11(argc, argv, *x11);
        case session::WindowsWay::None: break;
    }
    std::fputs(kNoWayIn, stderr);
    return 1;
}

// Drives the foreign-toplevel window system on the session's compositor for the Wayland
// end-to-end run, through the same interface the program uses. Runs the commands given in
// order on one connection and prints what each found, one line each:
//   list            "listed TITLE" for each window in the listing's order, then "end"
//   activate=TITLE  brings the window forward; "foreground TITLE" of the window then in front
//   close=TITLE     asks the first listed window with the title to close; "asked TITLE"
//   hide=TITLE, minimize=TITLE, maximize=TITLE, restore=TITLE
//                   the window command on the first listed window with the title; "shown TITLE"
//   desktop         "desktop NAME"
// An error the program would report prints "error NUMBER DESCRIPTION" and ends the run.
//
// With --kwin the connection is KWin's window-management protocol's.
//
//   velmora_foreign_toplevel_probe [--kwin] [--own-app-id ID --own-title TITLE] COMMAND...

#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/kwin/PlasmaWindowWire.h"
#include "platform/wayland/ForeignToplevelWindowSystem.h"
#include "platform/wayland/WlrToplevelWire.h"

namespace {

using velmora::Hwnd;
using velmora::WindowSystem;

struct Listed {
    Hwnd window;
    std::string title;
};

// The windows and their titles as one walk sees them, the way the program lists them.
std::vector<Listed> Listing(WindowSystem& windows) {
    std::vector<Listed> listed;
    for (Hwnd w = windows.GetWindow(0, velmora::kGwHwndFirst); w != 0;
         w = windows.GetWindow(w, velmora::kGwHwndNext)) {
        listed.push_back({w, windows.WindowTitle(w)});
    }
    return listed;
}

// The first listed window titled `title`; RuntimeError when none is.
Hwnd Titled(WindowSystem& windows, const std::string& title) {
    for (const Listed& w : Listing(windows)) {
        if (w.title == title) return w.window;
    }
    throw velmora::RuntimeError::InvalidProcedureCall();
}

int ShowCommand(std::string_view verb) {
    constexpr std::pair<std::string_view, int> kCommands[] = {
        {"hide", velmora::kSwHide},
        {"minimize", velmora::kSwMinimize},
        {"maximize", velmora::kSwShowMaximized},
        {"restore", velmora::kSwRestore}};
    for (const auto& [name, command] : kCommands) {
        if (name == verb) return command;
    }
    return -1;
}

void Run(WindowSystem& windows, std::string_view command) {
    const std::string_view verb = command.substr(0, command.find('='));
    const auto argument = std::string(command.substr(command.find('=') + 1));
    if (command == "list") {
        for (const Listed& w : Listing(windows)) std::cout << "listed " << w.title << '\n';
        std::cout << "end\n";
    } else if (command.starts_with("activate=")) {
        windows.ActivateWindow(argument, 0);
        std::cout << "foreground " << windows.WindowTitle(windows.GetForegroundWindow()) << '\n';
    } else if (command.starts_with("close=")) {
        windows.RequestClose(Titled(windows, argument));
        std::cout << "asked " << argument << '\n';
    } else if (ShowCommand(verb) >= 0 && verb != command) {
        windows.ShowWindow(Titled(windows, argument), ShowCommand(verb));
        std::cout << "shown " << argument << '\n';
    } else if (command == "desktop") {
        std::cout << "desktop " << windows.DesktopName() << '\n';
    } else {
        throw std::invalid_argument("unknown command: " + std::string(command));
    }
}

}  // namespace

int main(int argc, char** argv) {
    velmora::wayland::OwnWindow own;
    std::vector<std::string_view> commands;
    bool kwin = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--own-app-id" && i + 1 < argc) {
            own.appId = argv[++i];
        } else if (argument == "--own-title" && i + 1 < argc) {
            own.title = argv[++i];
        } else if (argument == "--kwin") {
            kwin = true;
        } else {
            commands.push_back(argument);
        }
    }
    auto wire = kwin ? velmora::kwin::ConnectPlasmaWindows()
                     : velmora::wayland::ConnectWlrToplevels();
    if (!wire) {
        std::cerr << "velmora_foreign_toplevel_probe: no compositor offering "
                  << (kwin ? "KWin's window management\n" : "foreign-toplevel management\n");
        return 1;
    }
    velmora::wayland::ForeignToplevelWindowSystem windows(std::move(wire), own);
    try {
        for (const std::string_view command : commands) Run(windows, command);
    } catch (const velmora::RuntimeError& error) {
        std::cout << "error " << error.number() << ' ' << error.description() << '\n';
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "velmora_foreign_toplevel_probe: " << error.what() << '\n';
        return 2;
    }
    return 0;
}

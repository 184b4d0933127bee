#include "ToplevelDesktop.h"

#include <stdexcept>
#include <thread>

#include "Accessible.h"
#include "ShellEvalWire.h"
#include "platform/kwin/PlasmaWindowWire.h"
#include "platform/wayland/WlrToplevelWire.h"

namespace e2e {

namespace {

using velmora::wayland::Toplevel;

// The program's app id, which its dialogs share.
constexpr char kProgramAppId[] = "velmora-suite";
// Matches no toplevel: the driver lists the program's windows too.
const velmora::wayland::OwnWindow kNobody{"", ""};

std::unique_ptr<velmora::wayland::ForeignToplevelWire> Connect(
    ToplevelDesktop::Compositor compositor) {
    switch (compositor) {
        case ToplevelDesktop::Compositor::Labwc: return velmora::wayland::ConnectWlrToplevels();
        case ToplevelDesktop::Compositor::KWin: return velmora::kwin::ConnectPlasmaWindows();
        case ToplevelDesktop::Compositor::GnomeShell: return ConnectShellEval();
    }
    return nullptr;
}

}  // namespace

ToplevelDesktop::ToplevelDesktop(Compositor compositor)
    : compositor_(compositor), wire_(Connect(compositor)) {
    if (!wire_) throw std::runtime_error(std::string(name()) + " offers no window management");
}

const char* ToplevelDesktop::name() const {
    switch (compositor_) {
        case Compositor::Labwc: return "labwc";
        case Compositor::KWin: return "KWin";
        case Compositor::GnomeShell: return "GNOME";
    }
    return "";
}

void ToplevelDesktop::Pump(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
    wire_->Roundtrip();
}

bool ToplevelDesktop::WaitFor(const std::function<bool()>& condition,
                              std::chrono::milliseconds timeout) {
    return PollUntil(condition, timeout);
}

const Toplevel* ToplevelDesktop::Titled(const std::string& title) {
    wire_->Roundtrip();
    for (const Toplevel& toplevel : wire_->toplevels().Listed(kNobody)) {
        if (toplevel.title == title) return wire_->toplevels().Find(toplevel.id);
    }
    return nullptr;
}

Desktop::WindowId ToplevelDesktop::ProgramWindow(pid_t pid, const std::string& title,
                                                 WindowId except) {
    wire_->Roundtrip();
    for (const Toplevel& toplevel : wire_->toplevels().Listed(kNobody)) {
        const bool program = toplevel.pid != 0 ? toplevel.pid == static_cast<std::uint32_t>(pid)
                                               : toplevel.appId == kProgramAppId;
        if (program && toplevel.title == title && toplevel.id != except) return toplevel.id;
    }
    return 0;
}

unsigned ToplevelDesktop::States(WindowId window) {
    wire_->Roundtrip();
    const Toplevel* toplevel = wire_->toplevels().Find(window);
    return toplevel != nullptr ? toplevel->states : kGone;
}

bool ToplevelDesktop::Shown(WindowId window) {
    const unsigned states = States(window);
    return states != kGone && (states & velmora::wayland::kToplevelMinimized) == 0;
}

Desktop::WindowId ToplevelDesktop::ActiveWindow() {
    wire_->Roundtrip();
    return wire_->toplevels().Activated();
}

void ToplevelDesktop::Activate(WindowId window) {
    wire_->Request(window, velmora::wayland::ToplevelRequest::Activate);
    wire_->Roundtrip();
}

void ToplevelDesktop::Press(const Accessible& control) {
    control.DoAction(control.Role() == "radio button" ? "Toggle" : "Press");
}

void ToplevelDesktop::PressCheckBox(const Accessible& list, int row) {
    list.Cell(row, 0).DoAction("Toggle");
}

void ToplevelDesktop::Keys(const std::string& chord) {
    throw std::logic_error("no key is typed on this desktop: " + chord);
}

}  // namespace e2e

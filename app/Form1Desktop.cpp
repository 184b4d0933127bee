// Commands a desktop cannot carry out (sway has no minimized windows, other Wayland desktops
// no way to keep a window on top): the user is told once per command and session, and the
// command then leaves every window as it is, so it never pretends to have done something.

#include "Form1.h"
#include "Globals.h"
#include "Main.h"

namespace velmora {

namespace {

std::string_view CommandName(DesktopCommand command) {
    switch (command) {
        case DesktopCommand::Hide: return "Hide";
        case DesktopCommand::Show: return "Show";
        case DesktopCommand::Close: return "Close";
        case DesktopCommand::Minimize: return "Minimize";
        case DesktopCommand::Maximize: return "Maximize";
        case DesktopCommand::Restore: return "Restore";
        case DesktopCommand::KeepOnTop: return "Keeping this window on top of others";
    }
    return {};
}

std::string UnavailableText(DesktopCommand command, std::string_view desktop) {
    std::string text(CommandName(command));
    text += " is not available on ";
    text += desktop;
    text += command == DesktopCommand::KeepOnTop ? "; it stays a regular window."
                                                 : "; the checked windows are left as they are.";
    return text;
}

}  // namespace

bool Form1::DesktopOffers(DesktopCommand command) {
    if (windows_.Offers(command)) return true;
    if (toldUnavailable_.insert(command).second) {
        runtime_.MsgBox(UnavailableText(command, windows_.DesktopName()), vbOKOnly,
                        globals_.AppTitle);
    }
    return false;
}

void Form1::KeepFormOnTop() {
    if (DesktopOffers(DesktopCommand::KeepOnTop)) MakeTopmost(windows_, widgets_.FormHandle());
}

// Where the window cannot be kept on top it never was, so there is nothing to undo and
// nothing to say: the regular choice is the one every start-up applies.
void Form1::MakeFormRegular() {
    if (windows_.Offers(DesktopCommand::KeepOnTop)) MakeRegular(windows_, widgets_.FormHandle());
}

}  // namespace velmora

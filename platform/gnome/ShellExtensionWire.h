#pragma once
// The connection to the project's own GNOME Shell extension, which lists and acts on windows
// for the program on GNOME's Wayland session (GNOME offers other programs no protocol for it).

#include <memory>

#include "platform/wayland/ForeignToplevelWire.h"

namespace velmora::gnome {

// The extension's uuid, as `gnome-extensions enable` takes it.
inline constexpr char kExtensionUuid[] = "velmora-suite@quillfern.com";

// Whether the extension is on the session bus now: not when it is not installed, not enabled,
// or the shell has disabled it (as on the lock screen).
bool ShellExtensionAnswers();

// A wire to the extension on the session bus; nullptr when it is not there. While the
// extension is away the wire lists no window, and requests fail; it follows the extension
// when it comes back.
std::unique_ptr<wayland::ForeignToplevelWire> ConnectShellExtension();

}  // namespace velmora::gnome

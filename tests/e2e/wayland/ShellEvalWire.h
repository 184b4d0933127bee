#pragma once
// GNOME Shell's own account of its windows, read through its Eval method (the test's shell
// runs in unsafe mode): what the driver checks the program against, apart from the program's
// extension.

#include <memory>

#include "platform/wayland/ForeignToplevelWire.h"

namespace e2e {

// Lists the shell's windows at every round trip; takes activation requests. Throws when the
// shell does not answer Eval.
std::unique_ptr<velmora::wayland::ForeignToplevelWire> ConnectShellEval();

}  // namespace e2e

// The list rebuild's enumeration on a live Wayland desktop: Enum::GetOpenWindows through sway's
// IPC (one get_tree a walk), through foreign-toplevel management and through KWin's window
// management (one round trip a walk each), and through the GNOME Shell extension (one List
// call a walk), which is what "Refresh List" costs there apart from filling the widget. scripts/bench puts the
// windows up first; the counter "listed" says how many windows each walk found.

#include <benchmark/benchmark.h>

#include <memory>

#include "ListWith.h"
#include "platform/gnome/ShellExtensionWire.h"
#include "platform/kwin/PlasmaWindowWire.h"
#include "platform/wayland/ForeignToplevelWindowSystem.h"
#include "platform/wayland/SwayConnection.h"
#include "platform/wayland/SwayWindowSystem.h"
#include "platform/wayland/WlrToplevelWire.h"

namespace velmora {
namespace {

void BM_SwayGetOpenWindows(benchmark::State& state) {
    wayland::SwayConnection connection(wayland::SwaySocketPath());
    if (!connection.Answers()) return state.SkipWithError("sway does not answer");
    wayland::SwayWindowSystem windows(connection, 0);
    ListWith(state, windows);
}
BENCHMARK(BM_SwayGetOpenWindows)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Lists the windows a wire's compositor announces; skipped where it offers no such wire.
void ListThrough(benchmark::State& state, std::unique_ptr<wayland::ForeignToplevelWire> wire) {
    if (!wire) return state.SkipWithError("the compositor does not offer this protocol");
    wayland::ForeignToplevelWindowSystem windows(std::move(wire), wayland::OwnWindow{});
    ListWith(state, windows);
}

void BM_ToplevelsGetOpenWindows(benchmark::State& state) {
    ListThrough(state, wayland::ConnectWlrToplevels());
}
BENCHMARK(BM_ToplevelsGetOpenWindows)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_KWinGetOpenWindows(benchmark::State& state) {
    ListThrough(state, kwin::ConnectPlasmaWindows());
}
BENCHMARK(BM_KWinGetOpenWindows)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_GnomeGetOpenWindows(benchmark::State& state) {
    ListThrough(state, gnome::ConnectShellExtension());
}
BENCHMARK(BM_GnomeGetOpenWindows)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();

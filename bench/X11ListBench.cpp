// The list rebuild's enumeration on a live X desktop: Enum::GetOpenWindows driven through the
// real X11 window system (client list, style and title reads), which is what "Refresh List"
// costs there apart from filling the widget. scripts/bench creates the windows first; the
// counter "listed" says how many windows each walk found.

#include <benchmark/benchmark.h>

#include <optional>
#include <stdexcept>

#include "ListWith.h"
#include "platform/x11/X11WindowSystem.h"
#include "platform/x11/XConnection.h"

namespace velmora {
namespace {

void BM_X11GetOpenWindows(benchmark::State& state) {
    std::optional<x11::XConnection> connection;
    try {
        connection.emplace();
    } catch (const std::runtime_error& error) {
        state.SkipWithError(error.what());
        return;
    }
    x11::X11WindowSystem windows(*connection);
    ListWith(state, windows);
}
BENCHMARK(BM_X11GetOpenWindows)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();

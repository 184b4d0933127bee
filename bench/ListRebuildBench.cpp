// The list rebuild on the sim desktop: 1001 listable windows among 1000 that are not (hidden,
// borderless or untitled), as "Refresh List" runs it, and the enumeration alone.

#include <benchmark/benchmark.h>

#include "app/Enum.h"
#include "app/FormDesign.h"
#include "app/Program.h"
#include "platform/sim/SimPlatform.h"

namespace velmora {
namespace {

struct Desktop2001 {
    sim::SimPlatform sim;
    Program program{sim.platform};

    Desktop2001() {
        for (int i = 0; i < 1001; ++i) sim.desktop.Create("Listable window " + std::to_string(i));
        for (int i = 0; i < 1000; ++i) {
            switch (i % 3) {
                case 0: sim.desktop.Create("Hidden " + std::to_string(i), sim::kWsCaption, sim::ShowState::Hidden); break;
                case 1: sim.desktop.Create("Popup " + std::to_string(i), sim::kWsPopup); break;
                default: sim.desktop.Create(""); break;
            }
        }
        program.Start();
        sim.recorder.enabled = false;
    }
};

void BM_RefreshList(benchmark::State& state) {
    Desktop2001 desktop;
    for (auto _ : state) {
        desktop.program.MainForm().PushButton1_Click();
        benchmark::DoNotOptimize(desktop.sim.widgets.Control(Id(Control::ListView1)).rows.size());
    }
    if (desktop.program.MainForm().RowHandles().size() != 1001) state.SkipWithError("wrong row count");
    state.SetItemsProcessed(state.iterations() * 2001);
}
BENCHMARK(BM_RefreshList)->Unit(benchmark::kMicrosecond);

void BM_GetOpenWindows(benchmark::State& state) {
    Desktop2001 desktop;
    Globals globals;
    Enum enumerator(desktop.sim.desktop, globals);
    const Hwnd own = desktop.sim.widgets.FormHandle();
    for (auto _ : state) {
        if (enumerator.GetOpenWindows(own) != 1001) state.SkipWithError("wrong count");
    }
    state.SetItemsProcessed(state.iterations() * 2001);
}
BENCHMARK(BM_GetOpenWindows)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();

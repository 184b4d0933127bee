#pragma once
// Times Enum::GetOpenWindows through a real window system; the counter "listed" says how many
// windows each walk found.

#include <benchmark/benchmark.h>

#include "app/Enum.h"
#include "app/Globals.h"

namespace velmora {

inline void ListWith(benchmark::State& state, WindowSystem& windows) {
    Globals globals;
    Enum enumerator(windows, globals);
    std::int16_t listed = 0;
    for (auto _ : state) listed = enumerator.GetOpenWindows(0);
    if (listed == 0) state.SkipWithError("no window listed");
    state.counters["listed"] = listed;
}

}  // namespace velmora

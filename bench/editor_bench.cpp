// Opening an editor on the demo ROM and pressing OK at once: the time a modder waits for
// the unit editor (twelve combos of 741 weapons, four of 177 pilots) and the pilot status
// editor to appear and close again.
#include <benchmark/benchmark.h>

#ifdef TSUMUGI_BENCH_UI
#include "editor_open.h"
#include "editors/pilots/pilot_status_dlg.h"
#include "editors/units/unit_dlg.h"

namespace {

using tsumugi::bench::OpenAndOk;

void BM_UnitDlgOpenAndOk(benchmark::State& state) { OpenAndOk<CUnitDlg>(state); }
void BM_PilotStatusDlgOpenAndOk(benchmark::State& state) { OpenAndOk<CPilotStatusDlg>(state); }
BENCHMARK(BM_UnitDlgOpenAndOk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PilotStatusDlgOpenAndOk)->Unit(benchmark::kMillisecond);

}  // namespace
#endif

// Opening the pilot spirit and pilot skill editors on the demo ROM and pressing OK at once:
// the list of 176 pilots, six combos sharing one list, and one store of the record shown.
#include <benchmark/benchmark.h>

#ifdef TSUMUGI_BENCH_UI
#include "editor_open.h"
#include "editors/pilots/pilot_skill_dlg.h"
#include "editors/pilots/pilot_spirit_dlg.h"

namespace {

void BM_PilotSpiritDlgOpenAndOk(benchmark::State& state) {
    tsumugi::bench::OpenAndOk<CPilotSpiritDlg>(state);
}
void BM_PilotSkillDlgOpenAndOk(benchmark::State& state) {
    tsumugi::bench::OpenAndOk<CPilotSkillDlg>(state);
}
BENCHMARK(BM_PilotSpiritDlgOpenAndOk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PilotSkillDlgOpenAndOk)->Unit(benchmark::kMillisecond);

}  // namespace
#endif

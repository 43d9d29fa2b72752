// Opening the ace bonus and full-upgrade bonus editors on the demo ROM and pressing OK at
// once: the record list, the name combos (ace) or the effect lists read from the ROM texts
// (full-upgrade), and one store of the record shown.
#include <benchmark/benchmark.h>

#ifdef TSUMUGI_BENCH_UI
#include "editor_open.h"
#include "editors/bonuses/ace_bonus_dlg.h"
#include "editors/bonuses/full_bonus_dlg.h"

namespace {

void BM_AceBonusDlgOpenAndOk(benchmark::State& state) {
    tsumugi::bench::OpenAndOk<CAceBonusDlg>(state);
}
void BM_FullBonusDlgOpenAndOk(benchmark::State& state) {
    tsumugi::bench::OpenAndOk<CFullBonusDlg>(state);
}
BENCHMARK(BM_AceBonusDlgOpenAndOk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullBonusDlgOpenAndOk)->Unit(benchmark::kMillisecond);

}  // namespace
#endif

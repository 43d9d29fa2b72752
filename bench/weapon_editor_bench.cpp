// Opening the weapon editor on the demo ROM and pressing OK at once: the list of 740
// weapons, the skill and weapon-type combos, and one store of the record shown.
#include <benchmark/benchmark.h>

#ifdef TSUMUGI_BENCH_UI
#include "editor_open.h"
#include "editors/weapons/weapon_dlg.h"

namespace {

void BM_WeaponDlgOpenAndOk(benchmark::State& state) { tsumugi::bench::OpenAndOk<CWeaponDlg>(state); }
BENCHMARK(BM_WeaponDlgOpenAndOk)->Unit(benchmark::kMillisecond);

}  // namespace
#endif

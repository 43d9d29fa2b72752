// Opening the spirit command and special skill editors on the demo ROM and pressing OK at
// once: the record list, the combos (the skill types read from the ROM), and one store of
// the record shown (for the skills, with its description page).
#include <benchmark/benchmark.h>

#ifdef TSUMUGI_BENCH_UI
#include "editor_open.h"
#include "editors/abilities/skill_dlg.h"
#include "editors/abilities/spirit_dlg.h"

namespace {

void BM_SpiritDlgOpenAndOk(benchmark::State& state) { tsumugi::bench::OpenAndOk<CSpiritDlg>(state); }
void BM_SkillDlgOpenAndOk(benchmark::State& state) { tsumugi::bench::OpenAndOk<CSkillDlg>(state); }
BENCHMARK(BM_SpiritDlgOpenAndOk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkillDlgOpenAndOk)->Unit(benchmark::kMillisecond);

}  // namespace
#endif

// Opening the special-skill and the enhancement-part classification editors on the demo
// ROM and pressing OK at once: the name list of every record that can be added and the
// entries of the first class.
#include <benchmark/benchmark.h>

#ifdef TSUMUGI_BENCH_UI
#include "editor_open.h"
#include "editors/abilities/parts_class_dlg.h"
#include "editors/abilities/skill_class_dlg.h"

namespace {

void BM_SkillClassDlgOpenAndOk(benchmark::State& state) {
    tsumugi::bench::OpenAndOk<CSkillClassDlg>(state);
}
void BM_PartsClassDlgOpenAndOk(benchmark::State& state) {
    tsumugi::bench::OpenAndOk<CPartsClassDlg>(state);
}
BENCHMARK(BM_SkillClassDlgOpenAndOk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartsClassDlgOpenAndOk)->Unit(benchmark::kMillisecond);

}  // namespace
#endif

// Opening the enhancement-part editor on the demo ROM and pressing OK at once: the part
// list, both pages (the special-ability page of the unit editor among them), and one store
// of the record shown with its name and two descriptions.
#include <benchmark/benchmark.h>

#ifdef TSUMUGI_BENCH_UI
#include "editor_open.h"
#include "editors/abilities/parts_dlg.h"

namespace {

void BM_PartsDlgOpenAndOk(benchmark::State& state) { tsumugi::bench::OpenAndOk<CPartsDlg>(state); }
BENCHMARK(BM_PartsDlgOpenAndOk)->Unit(benchmark::kMillisecond);

}  // namespace
#endif

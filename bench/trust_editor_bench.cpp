// Opening the trust bonus editor on the demo ROM and pressing OK at once: the record list
// named after the pilots, the pilot combos, the correction types read from the ROM, and one
// store of the pilot and the first page.
#include <benchmark/benchmark.h>

#ifdef TSUMUGI_BENCH_UI
#include "editor_open.h"
#include "editors/bonuses/trust_dlg.h"

namespace {

void BM_TrustDlgOpenAndOk(benchmark::State& state) { tsumugi::bench::OpenAndOk<CTrustDlg>(state); }
BENCHMARK(BM_TrustDlgOpenAndOk)->Unit(benchmark::kMillisecond);

}  // namespace
#endif

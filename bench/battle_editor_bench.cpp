// The battle dialogue editor on the demo ROM: opening it and pressing OK, and opening it and
// going through all 176 pilots, each of which reads every pilot's header to find where its
// line table ends and decodes its lines.
#include <benchmark/benchmark.h>

#ifdef TSUMUGI_BENCH_UI
#include "editor_open.h"
#include "editors/battle/battle_line_dlg.h"
#include "ui/controls.h"

namespace {

void BM_BattleLineDlgOpenAndOk(benchmark::State& state) { tsumugi::bench::OpenAndOk<CBattleLineDlg>(state); }

void BM_BattleLineDlgEveryPilot(benchmark::State& state) {
    tsumugi::bench::EditorDemo& demo = tsumugi::bench::TheEditorDemo();
    for (auto _ : state) {
        CBattleLineDlg dialog(demo.rom.data(), static_cast<uint32_t>(demo.rom.size()));
        dialog.show();
        QApplication::processEvents();
        auto* pilots = dialog.findChild<ui::ListBox*>();
        for (int p = 1; p < pilots->GetCount(); ++p) {
            pilots->SetCurSel(p);
            dialog.SelectPilot();
        }
        tsumugi::bench::PressOk(dialog);
        benchmark::DoNotOptimize(dialog.result());
    }
}

BENCHMARK(BM_BattleLineDlgOpenAndOk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BattleLineDlgEveryPilot)->Unit(benchmark::kMillisecond);

}  // namespace
#endif

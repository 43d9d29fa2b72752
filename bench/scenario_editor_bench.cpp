// The scenario data editor on the demo ROM: opening it and pressing OK at once, and stepping
// through all 81 chapters (each step stores both pages and fills them again) before OK.
#include <benchmark/benchmark.h>

#ifdef TSUMUGI_BENCH_UI
#include <QApplication>

#include "editor_open.h"
#include "editors/scenario/scenario_dlg.h"
#include "ui/controls.h"

namespace {

using tsumugi::bench::OpenAndOk;

void BM_ScenarioDlgOpenAndOk(benchmark::State& state) { OpenAndOk<CScenarioDlg>(state); }

void BM_ScenarioDlgEveryChapter(benchmark::State& state) {
    tsumugi::bench::EditorDemo& demo = tsumugi::bench::TheEditorDemo();
    for (auto _ : state) {
        CScenarioDlg dialog(demo.rom.data(), static_cast<uint32_t>(demo.rom.size()));
        dialog.show();
        QApplication::processEvents();
        ui::ComboBox* chapters = nullptr;
        for (ui::ComboBox* combo : dialog.findChildren<ui::ComboBox*>())
            if (combo->accessibleName() == QStringLiteral("話")) chapters = combo;
        for (int n = 0; chapters != nullptr && n < chapters->GetCount(); ++n) {
            chapters->setCurrentIndex(n);
            emit chapters->activated(n);
        }
        tsumugi::bench::PressOk(dialog);
        benchmark::DoNotOptimize(dialog.result());
    }
}

BENCHMARK(BM_ScenarioDlgOpenAndOk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScenarioDlgEveryChapter)->Unit(benchmark::kMillisecond);

}  // namespace
#endif

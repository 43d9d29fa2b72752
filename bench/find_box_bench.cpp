// One keystroke in the weapon list's find box: the search over the 740 names and the
// store-and-move to the record found. Beside it, a plain case-insensitive scan of the same
// names without the store and load.
#include <benchmark/benchmark.h>

#ifdef TSUMUGI_BENCH_UI
#include <QListWidget>

#include "editor_open.h"
#include "editors/common/find_box.h"
#include "editors/weapons/weapon_dlg.h"
#include "ui/controls.h"

namespace {

// Two texts whose first matches lie far apart, so that every keystroke moves the record.
const QString kTexts[] = {QStringLiteral("ソード"), QStringLiteral("ライフル")};

void BM_WeaponFindKeystroke(benchmark::State& state) {
    tsumugi::bench::EditorDemo& demo = tsumugi::bench::TheEditorDemo();
    CWeaponDlg dialog(demo.rom.data(), static_cast<uint32_t>(demo.rom.size()));
    dialog.show();
    QApplication::processEvents();
    auto* box = dialog.findChild<editors::FindBox*>();
    if (box == nullptr) {
        state.SkipWithError("no find box");
        return;
    }
    int k = 0;
    for (auto _ : state) {
        box->setText(kTexts[k++ % 2]);
        benchmark::DoNotOptimize(box->List()->currentRow());
    }
}
BENCHMARK(BM_WeaponFindKeystroke)->Unit(benchmark::kMicrosecond);

void BM_PlainScanOfWeaponNames(benchmark::State& state) {
    tsumugi::bench::EditorDemo& demo = tsumugi::bench::TheEditorDemo();
    CWeaponDlg dialog(demo.rom.data(), static_cast<uint32_t>(demo.rom.size()));
    QStringList items;
    auto* list = dialog.findChild<QListWidget*>();
    for (int i = 0; list != nullptr && i < list->count(); ++i) items << list->item(i)->text();
    int k = 0;
    for (auto _ : state) {
        const QString& text = kTexts[k++ % 2];
        int found = -1;
        for (int i = 0; i < items.size() && found < 0; ++i) {
            if (items[i].contains(text, Qt::CaseInsensitive)) found = i;
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_PlainScanOfWeaponNames)->Unit(benchmark::kMicrosecond);

}  // namespace
#endif

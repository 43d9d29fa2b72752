// Opening an editor on the demo ROM and pressing OK at once: the time a modder waits for
// the unit editor (twelve combos of 741 weapons, four of 177 pilots) and the pilot status
// editor to appear and close again.
#include <benchmark/benchmark.h>

#ifdef TSUMUGI_BENCH_UI
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "core/char_table.h"
#include "demo/rom.h"
#include "editors/pilots/pilot_status_dlg.h"
#include "editors/units/unit_dlg.h"

namespace {

// One offscreen application and one demo ROM with its character table for all runs.
struct Demo {
    QTemporaryDir dir;
    std::vector<uint8_t> rom = tsumugi::demo::BuildRom();

    Demo() {
        const std::string path = dir.filePath(QStringLiteral("string.txt")).toStdString();
        const std::string table = tsumugi::demo::StringTable();
        std::ofstream(path, std::ios::binary).write(table.data(), static_cast<std::streamsize>(table.size()));
        tsumugi::CharTable::SetPath(path);
        tsumugi::CharTable::Instance().Reset();
    }
};

Demo& TheDemo() {
    static int argc = 1;
    static char name[] = "tsumugi_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication app(argc, argv);
    static Demo demo;
    return demo;
}

void PressOk(QWidget& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("OK")) button->click();
    }
}

template <typename Dlg>
void OpenAndOk(benchmark::State& state) {
    Demo& demo = TheDemo();
    for (auto _ : state) {
        Dlg dialog(demo.rom.data(), static_cast<uint32_t>(demo.rom.size()));
        dialog.show();
        QApplication::processEvents();
        PressOk(dialog);
        benchmark::DoNotOptimize(dialog.result());
    }
}

void BM_UnitDlgOpenAndOk(benchmark::State& state) { OpenAndOk<CUnitDlg>(state); }
void BM_PilotStatusDlgOpenAndOk(benchmark::State& state) { OpenAndOk<CPilotStatusDlg>(state); }
BENCHMARK(BM_UnitDlgOpenAndOk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PilotStatusDlgOpenAndOk)->Unit(benchmark::kMillisecond);

}  // namespace
#endif

#pragma once
// Opening an editor on the demo ROM and pressing OK at once, for the editor benchmarks.
// One offscreen application and one demo ROM with its character table serve every
// benchmark of the run, whichever file it lives in.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "core/char_table.h"
#include "demo/rom.h"

namespace tsumugi::bench {

struct EditorDemo {
    QTemporaryDir dir;
    std::vector<uint8_t> rom = tsumugi::demo::BuildRom();

    EditorDemo() {
        const std::string path = dir.filePath(QStringLiteral("string.txt")).toStdString();
        const std::string table = tsumugi::demo::StringTable();
        std::ofstream(path, std::ios::binary).write(table.data(), static_cast<std::streamsize>(table.size()));
        tsumugi::CharTable::SetPath(path);
        tsumugi::CharTable::Instance().Reset();
    }
};

inline EditorDemo& TheEditorDemo() {
    static int argc = 1;
    static char name[] = "tsumugi_bench";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication app(argc, argv);
    static EditorDemo demo;
    return demo;
}

inline void PressOk(QWidget& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("OK")) button->click();
    }
}

template <typename Dlg>
void OpenAndOk(benchmark::State& state) {
    EditorDemo& demo = TheEditorDemo();
    for (auto _ : state) {
        Dlg dialog(demo.rom.data(), static_cast<uint32_t>(demo.rom.size()));
        dialog.show();
        QApplication::processEvents();
        PressOk(dialog);
        benchmark::DoNotOptimize(dialog.result());
    }
}

}  // namespace tsumugi::bench

// The weapon table (740 records) as CSV: a whole export and a whole import, each from a
// cold start (character conversions and name lists built afresh, as one command run does),
// beside the CSV reader alone as the baseline. Budget: 50 ms each.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_files.h"
#include "core/char_table.h"
#include "core/csv.h"
#include "core/layout/descriptor.h"
#include "core/table_csv.h"
#include "demo/rom.h"

namespace tsumugi::bench {
namespace {

struct Weapons {
    std::vector<uint8_t> rom;
    const layout::Table* table;
    std::string csv;      // as exported
    std::string renamed;  // every weapon's name changed
};

const Weapons& Data() {
    static const Weapons data = [] {
        const std::string text = demo::StringTable();
        CharTable& table = CharTable::Instance();
        table.Parse(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        table.m_bLoaded = true;
        Weapons w{demo::BuildRom(), layout::FindTable("weapons"), {}, {}};
        w.csv = ExportTableCsv(*w.table, w.rom.data(), static_cast<uint32_t>(w.rom.size())).value_or("");
        csv::ParseResult rows = csv::Parse(w.csv);
        size_t name = 0;
        while (name < rows.rows[0].size() && rows.rows[0][name] != "名前") ++name;
        static const char* const kDigits[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
        for (size_t r = 1; r < rows.rows.size(); ++r) rows.rows[r][name] = std::string("改") + kDigits[r % 10] + "型";
        for (const csv::Row& row : rows.rows) csv::AppendRow(w.renamed, row);
        return w;
    }();
    return data;
}

void BM_ExportWeaponsCsv(benchmark::State& state) {
    const Weapons& w = Data();
    for (auto _ : state) {
        auto csv = ExportTableCsv(*w.table, w.rom.data(), static_cast<uint32_t>(w.rom.size()));
        if (!csv) state.SkipWithError("export failed");
        benchmark::DoNotOptimize(csv);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * w.table->count);
}

void BM_ImportWeaponsCsvUnchanged(benchmark::State& state) {
    const Weapons& w = Data();
    for (auto _ : state) {
        TableCsvImport result =
            ImportTableCsv(*w.table, w.rom.data(), static_cast<uint32_t>(w.rom.size()), w.csv.data(), w.csv.size());
        if (!result.ok || result.changed) state.SkipWithError("import failed");
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * w.table->count);
}

// Every name encoded anew: the costliest import of this table.
void BM_ImportWeaponsCsvEveryNameChanged(benchmark::State& state) {
    const Weapons& w = Data();
    for (auto _ : state) {
        TableCsvImport result = ImportTableCsv(*w.table, w.rom.data(), static_cast<uint32_t>(w.rom.size()),
                                               w.renamed.data(), w.renamed.size());
        if (!result.ok || !result.changed) state.SkipWithError("import failed");
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * w.table->count);
}

// The baseline: reading the same CSV text into cells, nothing checked or stored.
void BM_ParseWeaponsCsvOnly(benchmark::State& state) {
    const Weapons& w = Data();
    for (auto _ : state) {
        csv::ParseResult rows = csv::Parse(w.csv);
        benchmark::DoNotOptimize(rows);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * w.table->count);
}

BENCHMARK(BM_ExportWeaponsCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWeaponsCsvUnchanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWeaponsCsvEveryNameChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseWeaponsCsvOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tsumugi::bench

// The table commands: list the fixed-record tables, export one as CSV, import a CSV back.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "cli/cli.h"
#include "core/file_io.h"
#include "core/layout/descriptor.h"
#include "core/patch_code.h"
#include "core/table_csv.h"

namespace tsumugi::cli {
namespace {

const layout::Table* TableNamed(const std::string& name) {
    const layout::Table* table = layout::FindTable(name);
    if (table == nullptr) {
        std::string known;
        for (const layout::Table& t : layout::Tables()) known += std::string(known.empty() ? "" : ", ") + t.name;
        Fail("no table is called \"" + name + "\"; the tables are " + known);
    }
    return table;
}

bool RomHolds(const RomImage& rom, const layout::Table& table, const std::string& path) {
    if (table.End() <= rom.m_nSize) return true;
    Fail(path + " is too short to hold the table " + table.name + " (it ends at " + Hex8(table.End()) + ")");
    return false;
}

}  // namespace

int TableList(const Args&) {
    std::string text;
    for (const layout::Table& table : layout::Tables()) {
        text += std::string(table.name) + "\t" + std::to_string(table.count) + "\t" + table.label + "\n";
    }
    Print(text);
    return kExitOk;
}

int TableExport(const Args& args) {
    const layout::Table* table = TableNamed(args.words[3]);
    if (table == nullptr) return kExitFailure;
    RomImage rom;
    if (!LoadRom(args.words[2], args.force, rom) || !RomHolds(rom, *table, args.words[2])) return kExitFailure;
    if (!LoadTable()) return kExitFailure;
    std::optional<std::string> csv = ExportTableCsv(*table, rom.m_pData, rom.m_nSize);
    if (!csv) return Fail("cannot export the table " + std::string(table->name));
    if (args.bom) csv->insert(0, kUtf8Bom);
    if (args.output) {
        if (!WriteWholeFile(*args.output, reinterpret_cast<const uint8_t*>(csv->data()), csv->size()))
            return Fail("cannot write " + *args.output);
        return kExitOk;
    }
    Print(*csv);
    return kExitOk;
}

int TableImport(const Args& args) {
    if (args.output.has_value() == args.codes.has_value()) {
        std::fprintf(stderr, "tsumugi-cli: table import needs exactly one of -o OUT and --codes FILE\n%s", Usage());
        return kExitUsage;
    }
    const layout::Table* table = TableNamed(args.words[3]);
    if (table == nullptr) return kExitFailure;
    RomImage rom;
    if (!LoadRom(args.words[2], args.force, rom) || !RomHolds(rom, *table, args.words[2])) return kExitFailure;
    if (!LoadTable()) return kExitFailure;
    const std::string& csvPath = args.words[4];
    const std::optional<ByteBuffer> csv = ReadWholeFile(csvPath);
    if (!csv) return Fail("cannot read the CSV file " + csvPath);
    const TableCsvImport imported = ImportTableCsv(*table, rom.m_pData, rom.m_nSize,
                                                   reinterpret_cast<const char*>(csv->Data()), csv->Size());
    if (!imported.ok) return Fail(csvPath + ": " + imported.error.Describe() + "; nothing written");

    std::vector<uint8_t> image(rom.m_pData, rom.m_pData + rom.m_nSize);
    std::copy(imported.records.begin(), imported.records.end(), image.begin() + table->base);
    if (args.codes) {
        // Whole words at even addresses: the table's first and last byte may share theirs
        // with a neighbour, which the image holds unchanged.
        const uint32_t start = table->base & ~1u;
        const uint32_t end = std::min<uint32_t>(rom.m_nSize, (table->End() + 1) & ~1u);
        PatchCodeList codes;
        DiffRegion(rom.m_pData + start, image.data() + start, start, end - start, codes);
        if (!WriteCodeFile(codes, *args.codes)) return Fail("cannot write the code file " + *args.codes);
        return kExitOk;
    }
    if (!WriteWholeFile(*args.output, image.data(), image.size())) return Fail("cannot write " + *args.output);
    return kExitOk;
}

}  // namespace tsumugi::cli

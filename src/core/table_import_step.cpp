#include "core/table_import_step.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tsumugi {

void CountChangedFields(const layout::Table& table, const uint8_t* before, const uint8_t* after, int& fields,
                        int& records) {
    fields = 0;
    records = 0;
    for (int r = 0; r < table.count; ++r) {
        const size_t at = static_cast<size_t>(table.size) * static_cast<size_t>(r);
        const int fieldsBefore = fields;
        for (const layout::Field& field : table.fields) {
            const bool changed = field.kind == layout::FieldKind::Text
                                     ? std::memcmp(before + at + field.offset, after + at + field.offset, field.width) != 0
                                     : layout::ReadField(field, before + at) != layout::ReadField(field, after + at);
            if (changed) ++fields;
        }
        if (fields > fieldsBefore) ++records;
    }
}

TableImportStep ApplyTableCsv(const layout::Table& table, uint8_t* rom, uint32_t romSize, PatchCodeList& codes,
                              const char* csv, size_t size) {
    TableImportStep step;
    const TableCsvImport imported = ImportTableCsv(table, rom, romSize, csv, size);
    if (!imported.ok) {
        step.error = imported.error;
        return step;
    }
    step.ok = true;
    if (!imported.changed) return step;
    CountChangedFields(table, rom + table.base, imported.records.data(), step.fields, step.records);
    // Whole words at even addresses, as an editor's run is recorded: the table's first and
    // last byte may share a word with a neighbour, which keeps its byte.
    const uint32_t start = table.base & ~1u;
    const uint32_t end = std::min<uint32_t>(romSize, (table.End() + 1) & ~1u);
    std::vector<uint8_t> before(rom + start, rom + end);
    std::copy(imported.records.begin(), imported.records.end(), rom + table.base);
    DiffRegion(before.data(), rom + start, start, end - start, codes);
    return step;
}

}  // namespace tsumugi

#pragma once
// A CSV file of a fixed-record table applied to the loaded image as one step, as an
// editor's OK applies a run: the whole file is checked first and a problem changes
// nothing; otherwise the changed words go into the image and into the code list.
#include <cstddef>
#include <cstdint>

#include "core/layout/descriptor.h"
#include "core/patch_code.h"
#include "core/table_csv.h"

namespace tsumugi {

struct TableImportStep {
    bool ok = false;
    TableCsvError error;  // the first problem, when not ok
    int fields = 0;       // fields whose value changed
    int records = 0;      // records holding one or more of them
};

// Reads csv (size bytes, UTF-8 with or without a byte-order mark) as the table's values
// over the image of romSize bytes, and on success writes every changed word into the image
// and records it in codes.
TableImportStep ApplyTableCsv(const layout::Table& table, uint8_t* rom, uint32_t romSize,
                              PatchCodeList& codes, const char* csv, size_t size);

// How many fields of how many records differ between two copies of the table's bytes.
void CountChangedFields(const layout::Table& table, const uint8_t* before, const uint8_t* after,
                        int& fields, int& records);

}  // namespace tsumugi

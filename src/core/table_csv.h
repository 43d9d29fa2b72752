#pragma once
// A fixed-record table as UTF-8 CSV and back. One row per record after a header of the
// field labels the editors show, the record number first. Numbers are decimal; a choice or
// reference is its number followed by a read-only column of its name; a flag is 0 or 1; a
// terrain rank is its letter (S A B C D, any other stored value its number); game text is
// written through the character table with escapes for what it lacks (core/text_escape.h).
//
// Importing checks every cell and refuses the whole file on the first problem. A cell that
// says what the record already holds leaves the record's bytes alone, so that exporting
// and importing without a change changes nothing: a text's filler after its terminator
// stays, an out-of-range value already stored stays. A changed value must be one the
// editors could store; a changed text is stored with its terminator and the rest of its
// field filled with 0x00.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/layout/descriptor.h"

namespace tsumugi {

// The header of the record number column.
inline constexpr char kRecordNumberHeader[] = "番号";
// The UTF-8 byte-order mark: without it a spreadsheet reads a CSV file as Shift-JIS.
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
// Appended to a choice or reference label for its name column.
inline constexpr char kNameColumnSuffix[] = " 名前";

struct TableCsvError {
    size_t row = 0;          // the CSV record, from 1 (the header); 0 for the file as a whole
    size_t column = 0;       // from 1; 0 for the row as a whole
    std::string columnName;  // the header of that column, when known
    std::string reason;
    // The file is not UTF-8: a spreadsheet saved it in its own encoding (Shift-JIS).
    bool notUtf8 = false;

    // "row 3, column 5 (命中＋): ..." and the like.
    std::string Describe() const;
};

struct TableCsvImport {
    bool ok = false;
    std::vector<uint8_t> records;  // the table's bytes with the file's values stored
    bool changed = false;          // whether records differ from the ROM's
    TableCsvError error;           // when not ok
};

// The header row's cells.
std::vector<std::string> TableCsvHeader(const layout::Table& table);

// The table as CSV, CR LF line ends. Game text goes through the loaded character table.
// nullopt when the ROM does not hold the whole table.
std::optional<std::string> ExportTableCsv(const layout::Table& table, const uint8_t* rom,
                                          uint32_t romSize);

// Reads csv (size bytes) as the table's values over the ROM's records. The ROM is only read.
TableCsvImport ImportTableCsv(const layout::Table& table, const uint8_t* rom, uint32_t romSize,
                              const char* csv, size_t size);

}  // namespace tsumugi

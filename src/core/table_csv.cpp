#include "core/table_csv.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>

#include "core/bytes.h"
#include "core/csv.h"
#include "core/text_codec.h"
#include "core/text_escape.h"
#include "core/value_names.h"

namespace tsumugi {
namespace {

using layout::Field;
using layout::FieldKind;
using layout::Table;

constexpr char kRankLetters[] = "SABCD";
constexpr uint32_t kRankLetterCount = 5;
using game_text::kFirstLeadByte;
using game_text::kNewline;
using game_text::kTerminator;

// The two-byte text field holds the code of one character with no terminator: a one-byte
// code c stands as c, 0xFF; 0 is no character at all.
bool IsInitial(const Field& field) { return field.kind == FieldKind::Text && field.width == 2; }

bool HasNameColumn(const Field& field) {
    return field.kind == FieldKind::Choice || field.kind == FieldKind::Reference;
}

struct Column {
    const Field* field;  // null for the record number
    bool nameColumn;
};

std::vector<Column> Columns(const Table& table) {
    std::vector<Column> columns = {{nullptr, false}};
    for (const Field& field : table.fields) {
        columns.push_back({&field, false});
        if (HasNameColumn(field)) columns.push_back({&field, true});
    }
    return columns;
}

std::string RankText(uint32_t value) {
    return value < kRankLetterCount ? std::string(1, kRankLetters[value]) : std::to_string(value);
}

std::optional<uint16_t> InitialValue(const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return uint16_t{0};
    if (bytes.size() == 1) return static_cast<uint16_t>(bytes[0] | kTerminator << 8);
    if (bytes.size() == 2) return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
    return std::nullopt;
}

// The initial as the box would show it; escaped when that would not store back as it is.
std::string InitialText(GameTextEscaper& escaper, uint16_t value) {
    if (value == 0) return {};
    const uint8_t bytes[2] = {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
    std::string text = escaper.Decode(bytes);
    const EscapedEncoding back = escaper.Encode(text);
    if (!back.ok || InitialValue(back.bytes) != value) {
        text.clear();
        AppendByteEscape(text, bytes);
    }
    return text;
}

// Accepts an optional run of blanks around the digits.
std::string_view Trim(std::string_view cell) {
    while (!cell.empty() && (cell.front() == ' ' || cell.front() == '\t')) cell.remove_prefix(1);
    while (!cell.empty() && (cell.back() == ' ' || cell.back() == '\t')) cell.remove_suffix(1);
    return cell;
}

std::optional<uint32_t> ParseNumber(std::string_view cell) {
    cell = Trim(cell);
    if (cell.empty() || cell.size() > 10) return std::nullopt;
    uint64_t value = 0;
    for (const char c : cell) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(value);
}

class Importer {
public:
    Importer(const Table& table, const uint8_t* rom) : m_table(table), m_rom(rom), m_columns(Columns(table)) {
        m_header = TableCsvHeader(table);
        m_result.records.assign(rom + table.base, rom + table.End());
    }

    TableCsvImport Run(const char* csv, size_t size) {
        csv::ParseResult parsed = csv::Parse(csv, size);
        if (!parsed.ok) {
            const csv::Error& e = parsed.error;
            if (e.notUtf8) {
                m_result.error.notUtf8 = true;
                return Fail(e.row, e.column, e.reason + " (line " + std::to_string(e.line) +
                                                 "): save the file as \"CSV UTF-8\", not as Shift-JIS");
            }
            return Fail(e.row, e.column, e.reason + " (line " + std::to_string(e.line) + ")");
        }
        std::vector<csv::Row>& rows = parsed.rows;
        // Blank lines at the end of the file are no records.
        while (!rows.empty() && rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
        if (rows.empty()) return Fail(1, 0, "the file is empty: the header row is missing");
        if (!CheckHeader(rows[0])) return m_result;
        const auto count = static_cast<size_t>(m_table.count);
        for (size_t r = 1; r < rows.size(); ++r) {
            if (r > count) {
                return Fail(r + 1, 0, "an extra row: the table has " + std::to_string(count) + " records");
            }
            if (!ImportRow(r + 1, static_cast<int>(r - 1), rows[r])) return m_result;
        }
        if (rows.size() - 1 < count) {
            return Fail(rows.size() + 1, 0,
                        "a row is missing: the table has " + std::to_string(count) +
                            " records, the file " + std::to_string(rows.size() - 1));
        }
        m_result.changed =
            std::memcmp(m_result.records.data(), m_rom + m_table.base, m_result.records.size()) != 0;
        m_result.ok = true;
        return m_result;
    }

private:
    TableCsvImport Fail(size_t row, size_t column, std::string reason) {
        m_result.ok = false;
        m_result.records.clear();
        m_result.changed = false;
        m_result.error.row = row;
        m_result.error.column = column;
        m_result.error.columnName = column >= 1 && column <= m_header.size() ? m_header[column - 1] : "";
        m_result.error.reason = std::move(reason);
        return m_result;
    }

    bool CheckHeader(const csv::Row& header) {
        for (size_t k = 0; k < header.size() && k < m_header.size(); ++k) {
            if (header[k] != m_header[k]) {
                Fail(1, k + 1, "the header reads \"" + header[k] + "\" where \"" + m_header[k] + "\" belongs");
                return false;
            }
        }
        if (header.size() < m_header.size()) {
            Fail(1, header.size() + 1, "the column \"" + m_header[header.size()] + "\" is missing");
            return false;
        }
        if (header.size() > m_header.size()) {
            Fail(1, m_header.size() + 1, "an extra column \"" + header[m_header.size()] + "\" after the last one");
            return false;
        }
        return true;
    }

    bool ImportRow(size_t row, int record, const csv::Row& cells) {
        if (cells.size() != m_columns.size()) {
            Fail(row, 0, "the row has " + std::to_string(cells.size()) + " cells where the header has " +
                             std::to_string(m_columns.size()));
            return false;
        }
        const std::optional<uint32_t> number = ParseNumber(cells[0]);
        if (number != static_cast<uint32_t>(record)) {
            Fail(row, 1, "the record number is \"" + cells[0] + "\" where " + std::to_string(record) +
                             " belongs (rows stay in record order, none added or left out)");
            return false;
        }
        uint8_t* bytes = m_result.records.data() + m_table.size * static_cast<uint32_t>(record);
        for (size_t k = 1; k < m_columns.size(); ++k) {
            const Column& column = m_columns[k];
            if (column.nameColumn) continue;
            std::string reason;
            if (!ImportCell(*column.field, bytes, cells[k], reason)) {
                Fail(row, k + 1, reason);
                return false;
            }
        }
        return true;
    }

    static bool CheckValue(const Field& field, uint32_t value, std::string& reason) {
        if (field.none >= 0 && value == static_cast<uint64_t>(field.none)) return true;
        if (field.kind == FieldKind::Reference) {
            const auto count = static_cast<uint32_t>(layout::CountOf(field.refers));
            if (value < count && value <= layout::MaxOf(field)) return true;
            reason = std::to_string(value) + " is not a record number: 0 to " + std::to_string(count - 1);
        } else {
            const uint32_t max = layout::MaxOf(field);
            if (value <= max) return true;
            reason = std::to_string(value) + " is out of range: 0 to " + std::to_string(max);
        }
        if (field.none >= 0) reason += " or " + std::to_string(field.none) + " for none";
        return false;
    }

    bool ImportCell(const Field& field, uint8_t* record, const std::string& cell, std::string& reason) {
        if (field.kind == FieldKind::Text) return ImportText(field, record, cell, reason);
        const uint32_t current = layout::ReadField(field, record);
        if (field.kind == FieldKind::Flag) {
            const std::string_view flag = Trim(cell);
            if (flag != "0" && flag != "1") {
                reason = "a flag is 0 or 1, not \"" + cell + "\"";
                return false;
            }
            const bool set = flag == "1";
            if (set != (current != 0)) layout::WriteField(field, record, set ? 1 : 0);
            return true;
        }
        std::optional<uint32_t> value;
        if (field.kind == FieldKind::Rank) {
            const std::string_view rank = Trim(cell);
            const char* letter = rank.size() == 1 ? std::strchr(kRankLetters, rank[0]) : nullptr;
            if (letter != nullptr && *letter != '\0') {
                value = static_cast<uint32_t>(letter - kRankLetters);
            } else {
                // A value outside S-D is written as its number; only that same value reads back.
                value = ParseNumber(rank);
                if (value != current || current < kRankLetterCount) {
                    reason = "a rank is one of S A B C D, not \"" + cell + "\"";
                    return false;
                }
            }
        } else {
            value = ParseNumber(cell);
            if (!value) {
                reason = "\"" + cell + "\" is not a whole number";
                return false;
            }
        }
        if (*value == current) return true;
        if (!CheckValue(field, *value, reason)) return false;
        layout::WriteField(field, record, *value);
        return true;
    }

    bool ImportText(const Field& field, uint8_t* record, const std::string& cell, std::string& reason) {
        uint8_t* bytes = record + field.offset;
        if (IsInitial(field)) {
            const uint16_t current = Read16(bytes);
            if (cell == InitialText(m_escaper, current)) return true;
            const EscapedEncoding encoded = m_escaper.Encode(cell);
            if (!encoded.ok) {
                reason = TextFailure(encoded);
                return false;
            }
            const std::optional<uint16_t> value = InitialValue(encoded.bytes);
            if (!value) {
                reason = "the text is too long: this field holds one character";
                return false;
            }
            Write16(bytes, *value);
            return true;
        }
        size_t used = 0;
        const std::string current = m_escaper.Decode(std::span<const uint8_t>(bytes, field.width), &used);
        if (cell == current) return true;
        const EscapedEncoding encoded = m_escaper.Encode(cell);
        if (!encoded.ok) {
            reason = TextFailure(encoded);
            return false;
        }
        const std::vector<uint8_t>& e = encoded.bytes;
        // The same bytes written another way: nothing changes.
        if (e.size() == used && std::equal(e.begin(), e.end(), bytes) &&
            (used == field.width || bytes[used] == kTerminator)) {
            return true;
        }
        for (size_t i = 0; i < e.size();) {
            if (e[i] == kTerminator) {
                reason = "the text holds the terminator FF where a character starts: it would end there";
                return false;
            }
            // 0xFE, the line break, stands alone like the codes below 0xC0.
            i += e[i] >= kFirstLeadByte && e[i] != kNewline ? 2 : 1;
            if (i > e.size()) {
                reason = "the text ends inside a two-byte code: the game would read on past it";
                return false;
            }
        }
        if (e.size() + 1 > field.width) {
            reason = "the text is too long: " + std::to_string(e.size()) + " bytes where the field holds " +
                     std::to_string(field.width - 1) + " and its terminator";
            return false;
        }
        std::copy(e.begin(), e.end(), bytes);
        bytes[e.size()] = kTerminator;
        std::memset(bytes + e.size() + 1, 0x00, field.width - e.size() - 1);
        return true;
    }

    static std::string TextFailure(const EscapedEncoding& encoded) {
        return encoded.reason + " (character " + std::to_string(encoded.errorPos + 1) + ")";
    }

    const Table& m_table;
    const uint8_t* m_rom;
    std::vector<Column> m_columns;
    std::vector<std::string> m_header;
    GameTextEscaper m_escaper;
    TableCsvImport m_result;
};

}  // namespace

std::string TableCsvError::Describe() const {
    std::string where;
    if (row > 0) where = "row " + std::to_string(row);
    if (column > 0) {
        where += ", column " + std::to_string(column);
        if (!columnName.empty()) where += " (" + columnName + ")";
    }
    return where.empty() ? reason : where + ": " + reason;
}

std::vector<std::string> TableCsvHeader(const Table& table) {
    std::vector<std::string> header;
    for (const Column& column : Columns(table)) {
        if (column.field == nullptr) {
            header.emplace_back(kRecordNumberHeader);
        } else {
            header.push_back(std::string(column.field->label) + (column.nameColumn ? kNameColumnSuffix : ""));
        }
    }
    return header;
}

std::optional<std::string> ExportTableCsv(const Table& table, const uint8_t* rom, uint32_t romSize) {
    if (rom == nullptr || table.End() > romSize) return std::nullopt;
    GameTextEscaper escaper;
    ValueNames names(rom, romSize);
    std::string out;
    csv::AppendRow(out, TableCsvHeader(table));
    csv::Row cells;
    for (int r = 0; r < table.count; ++r) {
        const uint8_t* record = rom + table.base + table.size * static_cast<uint32_t>(r);
        cells.clear();
        cells.push_back(std::to_string(r));
        for (const Field& field : table.fields) {
            const uint32_t value = layout::ReadField(field, record);
            switch (field.kind) {
                case FieldKind::Number:
                    cells.push_back(std::to_string(value));
                    break;
                case FieldKind::Choice:
                case FieldKind::Reference:
                    cells.push_back(std::to_string(value));
                    cells.push_back(names.Name(field, value));
                    break;
                case FieldKind::Flag:
                    cells.emplace_back(value != 0 ? "1" : "0");
                    break;
                case FieldKind::Rank:
                    cells.push_back(RankText(value));
                    break;
                case FieldKind::Text:
                    cells.push_back(IsInitial(field)
                                        ? InitialText(escaper, Read16(record + field.offset))
                                        : escaper.Decode(std::span<const uint8_t>(record + field.offset, field.width)));
                    break;
            }
        }
        csv::AppendRow(out, cells);
    }
    return out;
}

TableCsvImport ImportTableCsv(const Table& table, const uint8_t* rom, uint32_t romSize, const char* csv,
                              size_t size) {
    if (rom == nullptr || table.End() > romSize) {
        TableCsvImport result;
        result.error.reason = "the ROM is too short to hold the table " + std::string(table.name);
        return result;
    }
    return Importer(table, rom).Run(csv, size);
}

}  // namespace tsumugi

#pragma once
// Comma-separated values as RFC 4180 lays them out: cells split by commas, rows by CR LF
// (a bare LF is taken too), a cell in double quotes may hold commas, line breaks and
// doubled quotes. The text must be UTF-8; a byte-order mark at the start is skipped.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tsumugi::csv {

using Row = std::vector<std::string>;

// Where reading stopped and why. Rows and columns count from 1; a row is a record of the
// file (a quoted line break does not start a new one), line is the file's line.
struct Error {
    size_t row = 0;
    size_t column = 0;
    size_t line = 0;
    std::string reason;
    bool notUtf8 = false;  // the text is not UTF-8 (another encoding, or binary)
};

struct ParseResult {
    bool ok = false;
    std::vector<Row> rows;
    Error error;  // when not ok
};

// Reads the whole text. The line end after the last row may be left out. An empty text
// has no rows; an empty line is a row of one empty cell. A pure function over its input.
ParseResult Parse(const char* data, size_t size);
inline ParseResult Parse(std::string_view text) { return Parse(text.data(), text.size()); }

// Appends the cell to out, quoted when it holds a comma, a quote or a line break.
void AppendCell(std::string& out, std::string_view cell);

// Appends the cells separated by commas and ended by CR LF.
void AppendRow(std::string& out, const Row& cells);

}  // namespace tsumugi::csv

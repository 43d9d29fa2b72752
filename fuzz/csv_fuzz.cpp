// CSV text of any content: the reader never reads outside it, an error names a place
// inside it, and rows it reads, written out again, read back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/csv.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const tsumugi::csv::ParseResult read = tsumugi::csv::Parse(text.data(), text.size());
    if (!read.ok) {
        FUZZ_CHECK(!read.error.reason.empty());
        FUZZ_CHECK(read.error.line >= 1 && read.error.line <= size + 1);
        FUZZ_CHECK(read.error.row >= 1 && read.error.column >= 1);
        return 0;
    }
    std::string written;
    for (const tsumugi::csv::Row& row : read.rows) {
        FUZZ_CHECK(!row.empty());
        tsumugi::csv::AppendRow(written, row);
    }
    const tsumugi::csv::ParseResult again = tsumugi::csv::Parse(written);
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(again.rows == read.rows);
    return 0;
}

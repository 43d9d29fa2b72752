// Inputs the fuzz targets (fuzz/) found faults with, kept as ordinary tests: each case is
// the smallest form of the input and the behaviour it must now show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/cp932.h"
#include "core/csv.h"

namespace tsumugi {
namespace {

// Rows written out and read again are the rows, whatever their first cell starts with.
TEST(FuzzRegressions, CsvRowsReadBackAfterWriting) {
    const struct {
        const char* name;
        std::vector<csv::Row> rows;
    } cases[] = {
        {"first cell starts with a byte-order mark", {{"\xEF\xBB\xBFname", "v"}}},
        {"first cell is only a byte-order mark", {{"\xEF\xBB\xBF"}, {"x"}}},
        {"byte-order mark in a later row",
         {{"a"},
          {"\xEF\xBB\xBF"
           "b",
           "c"}}},
    };
    for (const auto& c : cases) {
        std::string text;
        for (const csv::Row& row : c.rows) csv::AppendRow(text, row);
        const csv::ParseResult read = csv::Parse(text);
        ASSERT_TRUE(read.ok) << c.name << ": " << read.error.reason;
        EXPECT_EQ(read.rows, c.rows) << c.name;
    }
}

// Unicode tag characters have no cp932 form; the converter used to drop them and report
// success. They fail with their place, counted in cp932 bytes, unless something before
// them fails first.
TEST(FuzzRegressions, TagCharactersFailInsteadOfVanishing) {
    const struct {
        const char* name;
        std::string utf8;
        size_t errorPos;
        std::string errorChar;
    } cases[] = {
        {"tag alone", "\xF3\xA0\x80\x81", 0, "\xF3\xA0\x80\x81"},
        {"after ASCII and kana",
         "a\xE3\x81\x82\xF3\xA0\x81\xBF"
         "b",
         3, "\xF3\xA0\x81\xBF"},
        {"an earlier character fails first", "\xC3\xA9\xF3\xA0\x80\x81", 0, "\xC3\xA9"},
    };
    for (const auto& c : cases) {
        const Cp932Result r = Utf8ToCp932(c.utf8);
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(r.errorPos, c.errorPos) << c.name;
        EXPECT_EQ(r.errorChar, c.errorChar) << c.name;
    }
    // Neighbours of the tag block still convert or fail as before.
    EXPECT_TRUE(Utf8ToCp932("\xE3\x80\x9C").ok);       // the wave dash, taken one way
    EXPECT_FALSE(Utf8ToCp932("\xF3\xA0\x82\x80").ok);  // U+E0080, no cp932 form either
}

}  // namespace
}  // namespace tsumugi

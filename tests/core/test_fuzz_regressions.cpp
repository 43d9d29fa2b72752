// Inputs the fuzz targets (fuzz/) found faults with, kept as ordinary tests: each case is
// the smallest form of the input and the behaviour it must now show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/bytes.h"
#include "core/cp932.h"
#include "core/csv.h"
#include "core/journal.h"

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

// A code change's absent old or new word is written as a 0 beside its flag; a journal
// record with another value there, and a correct checksum, is damaged and ends the
// reading (it used to be taken, and written back differently).
TEST(FuzzRegressions, AnAbsentWordWithAValueEndsTheJournal) {
    JournalRecord record;
    record.type = RecordType::Step;
    record.step.name = "codes.txt";
    record.step.codes.push_back({0x100, std::nullopt, 0x0909});
    std::vector<uint8_t> bytes = EncodeRecord(record);
    size_t used = 0;
    ASSERT_EQ(ParseJournal(bytes.data(), bytes.size(), &used).size(), 1u);
    ASSERT_EQ(used, bytes.size());
    // The payload ends with the old word (flag, value) and the new word.
    bytes[bytes.size() - 5] = 0x01;
    Write32(bytes.data() + 8, Crc32Of(bytes.data() + 12, bytes.size() - 12));
    EXPECT_TRUE(ParseJournal(bytes.data(), bytes.size(), &used).empty());
    EXPECT_EQ(used, 0u);
}

}  // namespace
}  // namespace tsumugi

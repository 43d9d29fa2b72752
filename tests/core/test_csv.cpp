// The CSV reader and writer: what a well-formed text gives, where and why a malformed one
// is refused, and that written cells read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/csv.h"

namespace tsumugi {
namespace {

using Rows = std::vector<csv::Row>;

TEST(CsvRead, WellFormedTexts) {
    const struct {
        const char* name;
        std::string text;
        Rows rows;
    } cases[] = {
        {"empty text", "", {}},
        {"CR LF rows", "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
        {"LF rows, no final line end", "a,b\nc,d", {{"a", "b"}, {"c", "d"}}},
        {"empty cells", ",a,\r\n", {{"", "a", ""}}},
        {"empty line in the middle", "a\r\n\r\nb\r\n", {{"a"}, {""}, {"b"}}},
        {"quoted comma, quote, line breaks", "\"x,y\",\"say \"\"hi\"\"\",\"l1\r\nl2\nl3\"\r\n",
         {{"x,y", "say \"hi\"", "l1\r\nl2\nl3"}}},
        {"empty quoted cell", "\"\",a", {{"", "a"}}},
        {"byte-order mark skipped", "\xEF\xBB\xBF番号,名前\r\n", {{"番号", "名前"}}},
        {"Japanese and a four-byte character", "機体名,\xF0\x9F\x98\x80", {{"機体名", "\xF0\x9F\x98\x80"}}},
    };
    for (const auto& c : cases) {
        const csv::ParseResult result = csv::Parse(c.text);
        ASSERT_TRUE(result.ok) << c.name << ": " << result.error.reason;
        EXPECT_EQ(result.rows, c.rows) << c.name;
    }
}

TEST(CsvRead, MalformedTextsNameRowColumnAndReason) {
    const struct {
        std::string text;
        size_t row, column, line;
        const char* reason;
    } cases[] = {
        {"a,b\r\nc,\"open\r\nmore", 2, 2, 2, "not closed"},
        {"a,\"q\"x\r\n", 1, 2, 1, "after the closing quote"},
        {"a,b\"c\r\n", 1, 2, 1, "quote inside"},
        {"a\rb\r\n", 1, 1, 1, "carriage return"},
        {"a\r\nb,\xFF\r\n", 2, 2, 2, "FF is not UTF-8"},
        {"\xC0\x80", 1, 1, 1, "C0 is not UTF-8"},                 // overlong
        {"x,\"\xED\xA0\x80\"", 1, 2, 1, "ED is not UTF-8"},       // a surrogate
        {"\"a\nb\",\xE3\x81", 1, 2, 2, "E3 is not UTF-8"},        // cut short, after a quoted break
    };
    for (const auto& c : cases) {
        const csv::ParseResult result = csv::Parse(c.text);
        ASSERT_FALSE(result.ok) << c.text;
        EXPECT_EQ(result.error.row, c.row) << c.text;
        EXPECT_EQ(result.error.column, c.column) << c.text;
        EXPECT_EQ(result.error.line, c.line) << c.text;
        EXPECT_NE(result.error.reason.find(c.reason), std::string::npos) << result.error.reason;
    }
}

TEST(CsvWrite, QuotesOnlyWhatNeedsItAndEndsRowsInCrLf) {
    std::string out;
    csv::AppendRow(out, {"plain", "a,b", "say \"x\"", "l1\nl2", ""});
    EXPECT_EQ(out, "plain,\"a,b\",\"say \"\"x\"\"\",\"l1\nl2\",\r\n");
    std::string marked;
    csv::AppendRow(marked, {"\xEF\xBB\xBFx"});
    EXPECT_EQ(csv::Parse(marked).rows, (Rows{{"\xEF\xBB\xBFx"}})) << "a mark that starts a cell is kept";
}

}  // namespace
}  // namespace tsumugi

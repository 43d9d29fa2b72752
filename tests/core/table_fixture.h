#pragma once
// A character table in a temporary folder for the codec tests: write a string.txt, point
// the table at it and start from an unloaded table.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/char_table.h"
#include "core/cp932.h"
#include "temp_dir.h"

namespace tsumugi::test {

// cp932 bytes of UTF-8 source text.
inline std::string Sj(std::string_view utf8) {
    const Cp932Result result = Utf8ToCp932(utf8);
    EXPECT_TRUE(result.ok) << utf8;
    return result.text;
}

// "HH,c" CR LF: a one-byte entry.
inline std::string OneByte(const char* code, std::string_view ch) {
    return std::string(code) + "," + Sj(ch) + "\r\n";
}

// "HH LL:c" CR LF: a two-byte entry, the code's bytes in ROM order.
inline std::string TwoByte(const char* first, const char* second, std::string_view ch) {
    return std::string(first) + " " + second + ":" + Sj(ch) + "\r\n";
}

class TableFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_dir.Path().empty());
        CharTable::SetPath(m_dir.File("string.txt"));
        CharTable::Instance().Reset();
    }

    void TearDown() override {
        CharTable::Instance().Reset();
        CharTable::SetPath("");
    }

    // Replaces string.txt and starts again from an unloaded table.
    void WriteTable(const std::string& content) {
        m_dir.Write("string.txt", content);
        CharTable::Instance().Reset();
    }

    tsumugi::testing::TempDir m_dir;
};

}  // namespace tsumugi::test

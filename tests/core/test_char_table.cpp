// The string.txt grammar and the table's load-once / reload-after-failure life.
#include <gtest/gtest.h>

#include <vector>

#include "core/text_codec.h"
#include "table_fixture.h"

namespace tsumugi::test {
namespace {

class CharTableTest : public TableFixture {
protected:
    CharTable& Table() { return CharTable::Instance(); }

    bool Parse(const std::string& content) {
        return Table().Parse(reinterpret_cast<const uint8_t*>(content.data()), content.size());
    }

    uint16_t Char(std::string_view utf8) {
        const std::string sj = Sj(utf8);
        return static_cast<uint16_t>(static_cast<uint8_t>(sj[0]) | (static_cast<uint8_t>(sj[1]) << 8));
    }

    std::vector<uint8_t> m_rom = std::vector<uint8_t>(64, 0xFF);
    CTextCodec m_codec{m_rom.data(), static_cast<uint32_t>(m_rom.size())};
};

TEST_F(CharTableTest, ReadsBothEntryKindsAndTheLastLineWithoutLineEnd) {
    ASSERT_TRUE(Parse(OneByte("0a", "あ") + TwoByte("C1", "23", "漢") + "1F," + Sj("ン")));
    EXPECT_EQ(Table().m_codeToChar.size(), 3u);
    EXPECT_EQ(Table().m_codeToChar.at(0x0A), Char("あ"));
    EXPECT_EQ(Table().m_codeToChar.at(0x23C1), Char("漢"));  // second byte * 256 + first
    EXPECT_EQ(Table().m_codeToChar.at(0x1F), Char("ン"));
    EXPECT_EQ(Table().m_charToCode.at(Char("漢")), 0x23C1);
}

TEST_F(CharTableTest, ShortOrUnknownLineEndsTheTableSuccessfully) {
    ASSERT_TRUE(Parse(OneByte("01", "あ") + "\r\n" + OneByte("02", "い")));
    EXPECT_EQ(Table().m_codeToChar.size(), 1u);

    ASSERT_TRUE(Parse(OneByte("01", "あ") + "01,a\r\n" + OneByte("02", "い")));
    EXPECT_EQ(Table().m_codeToChar.size(), 1u);

    ASSERT_TRUE(Parse(OneByte("01", "あ") + "01;" + Sj("い") + "\r\n" + OneByte("02", "う")));
    EXPECT_EQ(Table().m_codeToChar.size(), 1u);

    ASSERT_TRUE(Parse(""));
    EXPECT_TRUE(Table().m_codeToChar.empty());
}

TEST_F(CharTableTest, LineOfTheWrongLengthForItsKindFailsTheLoad) {
    ASSERT_TRUE(Parse(OneByte("05", "お")));
    EXPECT_FALSE(Parse(OneByte("01", "あ") + "02," + Sj("い") + " \r\n" + OneByte("03", "う")));
    EXPECT_FALSE(Parse(OneByte("01", "あ") + "C1 23" + Sj("漢") + "\r\n"));
    // Entries read before the bad line stay; the reverse map is the last good load's.
    EXPECT_EQ(Table().m_codeToChar.size(), 1u);
    EXPECT_EQ(Table().m_codeToChar.count(0x01), 1u);
    EXPECT_EQ(Table().m_charToCode.size(), 1u);
    EXPECT_EQ(Table().m_charToCode.at(Char("お")), 0x05);
}

TEST_F(CharTableTest, LfOnlyFileIsOneLongLine) {
    EXPECT_FALSE(Parse("01," + Sj("あ") + "\n02," + Sj("い") + "\n"));
    ASSERT_TRUE(Parse("abcde\n01," + Sj("あ") + "\n"));
    EXPECT_TRUE(Table().m_codeToChar.empty());
}

TEST_F(CharTableTest, HexIsReadBackwardsWithTheLowerCaseXRule) {
    ASSERT_TRUE(Parse(OneByte("x5", "あ") + OneByte("5x", "い") + OneByte("g1", "う") +
                      OneByte("aB", "え") + TwoByte("C1", "X2", "お")));
    EXPECT_EQ(Table().m_codeToChar.at(0x05), Char("あ"));
    EXPECT_EQ(Table().m_codeToChar.at(0x00), Char("い"));
    EXPECT_EQ(Table().m_codeToChar.at(0xFFFF), Char("う"));
    EXPECT_EQ(Table().m_codeToChar.at(0xAB), Char("え"));
    EXPECT_EQ(Table().m_codeToChar.at(static_cast<uint16_t>(0xFFFF * 256 + 0xC1)), Char("お"));
}

TEST_F(CharTableTest, FirstLineForACodeWinsAndLowestCodeForACharacter) {
    ASSERT_TRUE(Parse(OneByte("07", "あ") + OneByte("03", "い") + OneByte("07", "う") +
                      OneByte("05", "い")));
    EXPECT_EQ(Table().m_codeToChar.at(0x07), Char("あ"));
    EXPECT_EQ(Table().m_charToCode.at(Char("い")), 0x03);
    EXPECT_EQ(Table().m_charToCode.count(Char("う")), 0u);
}

TEST_F(CharTableTest, EmptyFileDecodesEverythingAsUnlisted) {
    WriteTable("");
    std::string text;
    const uint8_t bytes[] = {0x01, 0xC1, 0x23, 0xFF};
    ASSERT_EQ(m_codec.Decode(text, bytes, 4), 1);
    EXPECT_EQ(text, Sj("・・"));
    EXPECT_EQ(m_codec.m_nStatus, 1);
    EXPECT_TRUE(Table().m_bLoaded);
}

TEST_F(CharTableTest, MissingFileGivesErrorAndIsTriedAgain) {
    std::string text;
    const uint8_t bytes[] = {0x01, 0xFF};
    EXPECT_EQ(m_codec.Decode(text, bytes, 2), 0);
    EXPECT_EQ(text, "Error");

    WriteTable(OneByte("01", "あ"));
    EXPECT_EQ(m_codec.Decode(text, bytes, 2), 1);
    EXPECT_EQ(text, Sj("あ"));
}

TEST_F(CharTableTest, FailedLoadIsRetriedWithAClearedCodeMap) {
    WriteTable(OneByte("02", "い") + "01," + Sj("あ") + "  \r\n");
    std::string text;
    const uint8_t bytes[] = {0x01, 0x02, 0xFF};
    EXPECT_EQ(m_codec.Decode(text, bytes, 3), 0);
    EXPECT_EQ(text, "Error");
    EXPECT_FALSE(Table().m_bLoaded);
    EXPECT_EQ(Table().m_codeToChar.size(), 1u);

    // Mend the file without resetting the table: the next decode loads it afresh.
    m_dir.Write("string.txt", OneByte("01", "あ"));
    EXPECT_EQ(m_codec.Decode(text, bytes, 3), 1);
    EXPECT_EQ(text, Sj("あ・"));
    EXPECT_TRUE(Table().m_bLoaded);
    EXPECT_EQ(Table().m_codeToChar.count(0x02), 0u);

    // Loaded once: later changes to the file are not read.
    m_dir.Write("string.txt", OneByte("02", "い"));
    EXPECT_EQ(m_codec.Decode(text, bytes, 3), 1);
    EXPECT_EQ(text, Sj("あ・"));
}

}  // namespace
}  // namespace tsumugi::test

// The name getters at the bounds of their tables, and the lists built from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/bytes.h"
#include "core/name_list.h"
#include "table_fixture.h"

namespace tsumugi::test {
namespace {

constexpr uint32_t kRomSize = 0x160000;  // past the last name table

struct Table {
    NameKind kind;
    uint32_t lastName;  // ROM offset of the last entry's name
    int length;
    int count;
};

// Written out from the game's data layout, apart from the program's own constants.
const Table kTables[] = {
    {NameKind::Unit, 0xC390C + 104 * 149, 32, 150},
    {NameKind::FullBonus, 0xCA048 + 52 * 49, 32, 50},
    {NameKind::Pilot, 0xCD38C + 92 * 175, 48, 176},
    {NameKind::Bgm, 0xBFD84 + 64 * 53, 64, 54},
    {NameKind::Weapon, 0xD7CC0 + 64 * 739, 32, 740},
    {NameKind::AceBonus, 0xD6688 + 88 * 59, 64, 60},
    {NameKind::Skill, 0xD13AE + 224 * 35, 16, 36},
    {NameKind::Part, 0xC75CC + 168 * 45, 16, 46},
    {NameKind::Spirit, 0xC1166 + 100 * 32, 14, 33},
};

class NameListTest : public TableFixture {
protected:
    void SetUp() override {
        TableFixture::SetUp();
        WriteTable(OneByte("01", "あ") + OneByte("02", "い") + OneByte("03", "う"));
    }

    std::vector<uint8_t> m_rom = std::vector<uint8_t>(kRomSize, 0xFF);
    CTextCodec m_codec{m_rom.data(), kRomSize};
};

TEST_F(NameListTest, EveryTableReadsItsLastEntryOverTheWholeField) {
    for (const Table& table : kTables) {
        SCOPED_TRACE(table.count);
        std::fill(m_rom.begin(), m_rom.end(), 0xFF);
        // No terminator in the field: every byte of it is a name character, the byte after
        // it is not.
        std::fill_n(m_rom.begin() + table.lastName, table.length, 0x01);
        m_rom[table.lastName + table.length] = 0x02;
        m_rom[table.lastName - 1] = 0x03;

        std::string expected;
        for (int k = 0; k < table.length; ++k) expected += Sj("あ");
        std::string text;
        EXPECT_TRUE(GetName(m_codec, table.kind, table.count - 1, text));
        EXPECT_EQ(text, expected);
        EXPECT_EQ(m_codec.m_nLength, table.length + 1);

        EXPECT_FALSE(GetName(m_codec, table.kind, table.count, text));
        EXPECT_EQ(text, "Error");
        EXPECT_FALSE(GetName(m_codec, table.kind, -1, text));
        EXPECT_EQ(text, "Error");

        EXPECT_EQ(NameCount(table.kind), table.count);
        const std::vector<std::string> names = NameList(m_codec, table.kind);
        ASSERT_EQ(names.size(), static_cast<size_t>(table.count));
        EXPECT_EQ(names.back(), expected);
        EXPECT_EQ(names.front(), table.count > 1 ? "" : expected);
    }
}

TEST_F(NameListTest, SpiritAndWeaponBounds) {
    const uint32_t spirit32 = 0xC1166 + 100 * 32;
    m_rom[spirit32] = 0x02;
    std::string text;
    EXPECT_TRUE(m_codec.GetSpiritName(32, text));
    EXPECT_EQ(text, Sj("い"));
    EXPECT_FALSE(m_codec.GetSpiritName(33, text));
    EXPECT_EQ(text, "Error");

    m_rom[0xD7CC0 + 64 * 739] = 0x03;
    EXPECT_TRUE(m_codec.GetWeaponName(739, text));
    EXPECT_EQ(text, Sj("う"));
    EXPECT_FALSE(m_codec.GetWeaponName(740, text));
    EXPECT_FALSE(m_codec.GetWeaponName(-2147483647 - 1, text));
}

TEST_F(NameListTest, ChapterHeadingFromNumberAndTitle) {
    const uint32_t record80 = 0x154BA0 + 40 * 80;
    Write16(&m_rom[record80], 0);
    m_rom[record80 + 8] = 0x01;
    m_rom[record80 + 9] = 0x02;
    std::string text;
    EXPECT_TRUE(m_codec.GetChapterName(80, text));
    EXPECT_EQ(text, Sj("第0話 あい"));

    Write16(&m_rom[record80], 0xFFFF);
    EXPECT_TRUE(m_codec.GetChapterName(80, text));
    EXPECT_EQ(text, Sj("第65535話 あい"));

    EXPECT_FALSE(m_codec.GetChapterName(81, text));
    EXPECT_EQ(text, "Error");

    const uint32_t record0 = 0x154BA0;
    Write16(&m_rom[record0], 12);  // a number but no title
    EXPECT_TRUE(m_codec.GetChapterName(0, text));
    EXPECT_EQ(text, "");
}

TEST_F(NameListTest, RomTooShortForTheNameFieldGivesError) {
    std::vector<uint8_t> rom(0xC390C + 31, 0x01);
    CTextCodec codec(rom.data(), static_cast<uint32_t>(rom.size()));
    std::string text;
    EXPECT_FALSE(codec.GetUnitName(0, text));
    EXPECT_EQ(text, "Error");
    rom.push_back(0x02);
    CTextCodec exact(rom.data(), static_cast<uint32_t>(rom.size()));
    EXPECT_TRUE(exact.GetUnitName(0, text));
    EXPECT_EQ(exact.m_nLength, 33);

    rom.assign(0x154BA0 + 39, 0x01);
    CTextCodec chapters(rom.data(), static_cast<uint32_t>(rom.size()));
    EXPECT_FALSE(chapters.GetChapterName(0, text));
    EXPECT_EQ(text, "Error");

    CTextCodec noRom(nullptr, 0);
    EXPECT_FALSE(noRom.GetSkillName(0, text));
}

TEST_F(NameListTest, UnloadableTableFailsOnlyTheDecodeResultGetters) {
    WriteTable("01," + Sj("あ") + "?\r\n");
    std::string text;
    EXPECT_FALSE(m_codec.GetUnitName(0, text));
    EXPECT_EQ(text, "Error");
    EXPECT_FALSE(m_codec.GetPilotName(0, text));
    EXPECT_FALSE(m_codec.GetWeaponName(0, text));
    EXPECT_TRUE(m_codec.GetSkillName(0, text));
    EXPECT_EQ(text, "Error");
    EXPECT_TRUE(m_codec.GetChapterName(0, text));
    EXPECT_EQ(text, "Error");
}

}  // namespace
}  // namespace tsumugi::test

// The demo ROM and its character table: the table loads, the names read back through the
// codec, and every record holds values the editors accept.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "core/demo_image.h"
#include "core/bytes.h"
#include "core/char_table.h"
#include "demo/data.h"
#include "demo/rom.h"
#include "core/name_list.h"
#include "core/rom_image.h"
#include "core/table_fixture.h"
#include "core/text_codec.h"

namespace tsumugi {
namespace {

using demo::detail::Sj;

const std::vector<uint8_t>& Demo() {
    static const std::vector<uint8_t> rom = demo::BuildRom();
    return rom;
}

class DemoRomTest : public test::TableFixture {
protected:
    void SetUp() override {
        TableFixture::SetUp();
        WriteTable(demo::StringTable());
    }

    // Decodes a text of the demo; the status of the decode goes to *status.
    std::string Decode(uint32_t offset, int limit, int* status = nullptr) {
        CTextCodec codec(Demo().data(), static_cast<uint32_t>(Demo().size()));
        std::string text;
        EXPECT_EQ(codec.Decode(text, Demo().data() + offset, limit), 1);
        if (status) *status = codec.m_nStatus;
        return text;
    }
};

// A name or text field as the editors leave it: a terminator, then zeros to its end.
bool FieldIsClean(uint32_t at, uint32_t length) {
    const std::vector<uint8_t>& rom = Demo();
    uint32_t k = 0;
    while (k < length && rom[at + k] != 0xFF) ++k;
    if (k == length) return false;
    for (++k; k < length; ++k) {
        if (rom[at + k] != 0x00) return false;
    }
    return true;
}

std::string Expected(NameKind kind, int i) {
    using namespace demo::detail;
    switch (kind) {
        case NameKind::Unit:
            return UnitName(i);
        case NameKind::Pilot:
            return PilotName(i);
        case NameKind::Weapon:
            return WeaponName(i);
        case NameKind::Skill:
            return SkillName(i);
        case NameKind::Part:
            return PartName(i);
        case NameKind::Spirit:
            return SpiritName(i);
        case NameKind::Bgm:
            return BgmName(i);
        case NameKind::AceBonus:
            return AceBonusName(i);
        case NameKind::FullBonus:
            return FullBonusName(i);
        case NameKind::Chapter: {
            const std::string title = ChapterTitle(i);
            if (title.empty()) return title;
            char number[32];
            std::snprintf(number, sizeof number, "%d", ChapterNumber(i));
            return Sj("第") + number + Sj("話 ") + title;
        }
    }
    return std::string();
}

TEST(DemoRom, IsSixteenMebibytesWithTheGamesTitle) {
    ASSERT_EQ(Demo().size(), demo::kDemoRomSize);
    EXPECT_TRUE(RomImage::TitleMatches(Demo().data(), static_cast<uint32_t>(Demo().size())));
    // The tests' shared copy comes from another run of the generator: the same bytes.
    EXPECT_EQ(testing::DemoImage(), Demo()) << "the image must come out the same every time";
}

TEST(DemoRom, StringTableHasOnlyWellFormedLines) {
    const std::string table = demo::StringTable();
    EXPECT_EQ(table, demo::StringTable());
    std::set<std::string> codes, chars;
    size_t start = 0, lines = 0;
    while (start < table.size()) {
        const size_t end = table.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
        const std::string line = table.substr(start, end - start);
        ASSERT_TRUE(line.size() == 5 || line.size() == 8) << line;
        ASSERT_EQ(line[2], line.size() == 5 ? ',' : ' ') << line;
        const std::string code = line.substr(0, line.size() - 3);
        const std::string ch = line.substr(line.size() - 2);
        EXPECT_TRUE(codes.insert(code).second) << "code listed twice: " << code;
        EXPECT_TRUE(chars.insert(ch).second) << "character listed twice: " << code;
        if (line.size() == 8) {
            const unsigned lead = std::stoul(line.substr(0, 2), nullptr, 16);
            EXPECT_GE(lead, 0xC0u);
            EXPECT_LE(lead, 0xFDu);
        }
        start = end + 2;
        ++lines;
    }
    EXPECT_GT(lines, 3000u);
    const std::string& t = table;
    EXPECT_TRUE(CharTable::Instance().Parse(reinterpret_cast<const uint8_t*>(t.data()), t.size()));
    EXPECT_EQ(CharTable::Instance().m_codeToChar.size(), lines);
    CharTable::Instance().Reset();
}

TEST_F(DemoRomTest, EncodeTextAgreesWithTheCodec) {
    const std::string text = Sj("アルテミスⅡ改、出撃！\r\nＡ１あ亜腕");
    std::vector<uint8_t> expected(64, 0x00);
    CTextCodec codec(nullptr, 0);
    std::string ignored;
    uint8_t probe = 0xFF;
    codec.Decode(ignored, &probe, 1);  // loads the table
    ASSERT_EQ(codec.Encode(text, expected.data(), 64), 1);
    expected.resize(static_cast<size_t>(codec.m_nLength));
    EXPECT_EQ(demo::EncodeText(text), expected);
    EXPECT_EQ(demo::EncodeText("A" + Sj("あ")), demo::EncodeText(Sj("あ")))
        << "characters the table lacks are dropped";
}

TEST_F(DemoRomTest, EveryNameReadsBackThroughTheTable) {
    CTextCodec codec(Demo().data(), static_cast<uint32_t>(Demo().size()));
    const NameKind kinds[] = {NameKind::Unit,   NameKind::Pilot,    NameKind::Weapon,
                              NameKind::Skill,  NameKind::Part,     NameKind::Spirit,
                              NameKind::Bgm,    NameKind::AceBonus, NameKind::FullBonus,
                              NameKind::Chapter};
    for (const NameKind kind : kinds) {
        const name_table::Layout layout = name_table::LayoutOf(kind);
        for (int i = 0; i < NameCount(kind); ++i) {
            std::string name;
            ASSERT_TRUE(GetName(codec, kind, i, name));
            ASSERT_EQ(codec.m_nStatus, 0) << "kind " << static_cast<int>(kind) << " index " << i;
            ASSERT_EQ(name, Expected(kind, i))
                << "kind " << static_cast<int>(kind) << " index " << i;
            ASSERT_FALSE(Expected(kind, i).empty() && kind != NameKind::Chapter);
            ASSERT_TRUE(FieldIsClean(layout.first + layout.stride * static_cast<uint32_t>(i),
                                     static_cast<uint32_t>(layout.length)))
                << "kind " << static_cast<int>(kind) << " index " << i;
        }
    }
}

TEST_F(DemoRomTest, ChaptersIncludeAnEmptyTitleAndChapterZero) {
    CTextCodec codec(Demo().data(), static_cast<uint32_t>(Demo().size()));
    std::string first, last;
    codec.GetChapterName(0, first);
    codec.GetChapterName(80, last);
    EXPECT_EQ(first.rfind(Sj("第0話 "), 0), 0u);
    EXPECT_EQ(last, "");
}

TEST_F(DemoRomTest, OnlyTheLockedPilotHasAnUnlistedNickname) {
    constexpr uint32_t kPilots = 0xCD360, kSize = 92, kNickname = 28;
    for (int i = 0; i < 176; ++i) {
        int status = -1;
        const std::string nickname =
            Decode(kPilots + kSize * static_cast<uint32_t>(i) + kNickname, 16, &status);
        ASSERT_TRUE(FieldIsClean(kPilots + kSize * static_cast<uint32_t>(i) + kNickname, 16));
        if (i == demo::kLockedPilot) {
            EXPECT_EQ(status, 1);
            EXPECT_EQ(nickname, demo::detail::PilotNickname(i) + Sj("・"));
        } else {
            ASSERT_EQ(status, 0) << i;
            ASSERT_EQ(nickname, demo::detail::PilotNickname(i)) << i;
        }
    }
}

// What an editor does on OK: decode the field, encode it into a zeroed buffer of the
// field's size. Every editable text must come back as the very bytes the ROM holds.
TEST_F(DemoRomTest, EveryEditableTextReencodesToItsOwnBytes) {
    struct TextField {
        uint32_t base, stride;
        int count;
        uint32_t offset, length;
    };
    constexpr TextField kTexts[] = {
        {0xC38C4, 104, 150, 72, 32}, {0xD7CA0, 64, 740, 32, 32},  {0xCD360, 92, 176, 28, 16},
        {0xCD360, 92, 176, 44, 48},  {0xC1160, 100, 33, 6, 14},   {0xC1160, 100, 33, 20, 80},
        {0xD13A0, 224, 36, 14, 16},  {0xD13A0, 224, 36, 30, 64},  {0xD13A0, 224, 36, 94, 64},
        {0xD13A0, 224, 36, 158, 64}, {0xC75B4, 168, 46, 24, 16},  {0xC75B4, 168, 46, 40, 64},
        {0xC75B4, 168, 46, 104, 64}, {0xD6670, 88, 60, 24, 64},   {0xCA034, 52, 50, 20, 32},
    };
    const uint32_t locked = 0xCD360 + 92 * demo::kLockedPilot + 28;
    CTextCodec codec(Demo().data(), static_cast<uint32_t>(Demo().size()));
    for (const TextField& f : kTexts) {
        for (int i = 0; i < f.count; ++i) {
            const uint32_t at = f.base + f.stride * static_cast<uint32_t>(i) + f.offset;
            if (at == locked) continue;
            const int length = static_cast<int>(f.length);
            std::string text;
            codec.Decode(text, Demo().data() + at, length);
            std::vector<uint8_t> field(f.length, 0x00);
            ASSERT_EQ(codec.Encode(text, field.data(), length), 1) << std::hex << at;
            ASSERT_EQ(codec.m_nStatus, 0) << std::hex << at;
            ASSERT_TRUE(std::equal(field.begin(), field.end(), Demo().begin() + at)) << std::hex << at;
        }
    }
}

TEST_F(DemoRomTest, LabelTablesReadBack) {
    using namespace demo::detail;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(Decode(0xD12A8 + 16 * static_cast<uint32_t>(i), 8), PersonalityName(i));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Decode(0x9AF78 + 8 * static_cast<uint32_t>(i), 8), SkillTypeName(i));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Decode(0x9A64C + 8 * static_cast<uint32_t>(i), 8), TrustTypeName(i));
    // Weapon-type names: each ends at a 0xFF or 0x00, the next starts at the next even offset.
    uint32_t at = 0x9AE42;
    for (int i = 0; i < 28; ++i) {
        uint32_t end = at;
        while (Demo()[end] != 0xFF && Demo()[end] != 0x00 && end - at < 64) ++end;
        ASSERT_LT(end - at, 64u);
        EXPECT_EQ(Decode(at, static_cast<int>(end - at)), WeaponTypeName(i)) << i;
        at = (end + 2) & ~1u;
    }
    EXPECT_LE(at, 0x9AF78u) << "the weapon types run into the skill types";
    // The effect lists of the full-upgrade bonus editor.
    const uint32_t first[9] = {0x9AD3C, 0x9AD4C, 0x9AD5C, 0x9AD6C, 0x9AD7C,
                               0x9AD8C, 0x9AD9C, 0x9ADA2, 0x9ADAC};
    const uint32_t second[8] = {0x9ADB4, 0x9ADC2, 0x9ADCE, 0x9ADDA,
                                0x9ADE6, 0x9ADF2, 0x9ADFC, 0x9AE06};
    for (const uint32_t a : first) EXPECT_FALSE(Decode(a, 64).empty()) << std::hex << a;
    for (const uint32_t a : second) EXPECT_FALSE(Decode(a, 64).empty()) << std::hex << a;
    EXPECT_EQ(Decode(0x9AD9C, 64), Sj("分身"));
    EXPECT_EQ(Decode(0x9ACE6, 64) + Sj("、") + Decode(0x9ADB4, 64), Sj("格闘、攻撃力上昇"));
}

}  // namespace
}  // namespace tsumugi

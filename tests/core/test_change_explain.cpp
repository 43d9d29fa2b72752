// Explaining patch codes: each category's fields named and shown as their editors show
// them, a code over two fields, a text touched by many codes, bytes no field owns, the
// workspace's old image, and `codes explain` as lines and as JSON.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "core/demo_image.h"
#include "core/battle_lines.h"
#include "core/bytes.h"
#include "core/change_explain.h"
#include "core/cp932.h"
#include "core/layout/abilities.h"
#include "core/layout/bonuses.h"
#include "core/layout/pilots.h"
#include "core/layout/scenario.h"
#include "core/layout/units.h"
#include "core/regions.h"
#include "core/run_command.h"
#include "core/scenario_lists.h"
#include "core/table_fixture.h"
#include "core/workspace.h"
#include "demo/data.h"
#include "demo/rom.h"

namespace tsumugi {
namespace {

namespace L = layout;

std::string Utf8(const std::string& cp932) { return Cp932ToUtf8(cp932).text; }

const std::vector<uint8_t>& Demo() {
    static const std::vector<uint8_t> rom = testing::DemoImage();
    return rom;
}

void Put(std::vector<uint8_t>& rom, uint32_t at, int width, uint32_t value) {
    if (width == 1) rom[at] = static_cast<uint8_t>(value);
    if (width == 2) Write16(&rom[at], static_cast<uint16_t>(value));
    if (width == 4) Write32(&rom[at], value);
}

uint32_t DeployRecord(int chapter, int k) {
    uint32_t deploy = 0, messages = 0;
    EXPECT_TRUE(ReadChapterPointers(Demo().data(), demo::kDemoRomSize, chapter, deploy, messages));
    return deploy - kBusBase + L::deploy_record::kSize * static_cast<uint32_t>(k);
}

uint32_t LineRecord(int pilot, int line) {
    const BattlePilot p = ReadBattlePilot(Demo().data(), demo::kDemoRomSize, pilot);
    EXPECT_EQ(p.fault, BattleFault::None);
    return p.Record(line);
}

class ChangeExplainTest : public test::TableFixture {
protected:
    void SetUp() override {
        test::TableFixture::SetUp();
        WriteTable(demo::StringTable());
        m_before = Demo();
        m_after = Demo();
    }

    // The rows for every word that differs between the two images.
    std::vector<ChangeRow> Explain() {
        PatchCodeList codes;
        DiffRegion(m_before.data(), m_after.data(), 0, static_cast<uint32_t>(m_after.size()), codes);
        return ExplainCodes({m_before.data(), static_cast<uint32_t>(m_before.size())},
                            {m_after.data(), static_cast<uint32_t>(m_after.size())}, codes);
    }

    std::vector<uint8_t> m_before, m_after;
};

struct FieldCase {
    const char* what;
    int category;
    std::function<uint32_t()> at;  // the field's first byte
    int width;
    uint32_t before, after;
    const char* field;
    std::function<std::string()> shownBefore, shownAfter;
    int record;
};

std::function<std::string()> Is(const char* text) {
    return [text] { return std::string(text); };
}

TEST_F(ChangeExplainTest, EveryCategoryNamesItsFieldWithOldAndNewValue) {
    namespace c = category;
    using demo::detail::PilotName;
    const FieldCase cases[] = {
        {"unit HP", c::kUnit, [] { return L::unit_record::kBase + 2 * L::unit_record::kSize; }, 4, 1000, 2500,
         "最大HP", Is("1000"), Is("2500"), 2},
        {"pilot growth (a choice)", c::kPilotStatus,
         [] { return L::pilot_record::kBase + L::pilot_record::kSize + L::pilot_record::kGrowth; }, 1, 0, 2,
         "成長率", Is("標準型"), Is("格闘系・万能"), 1},
        {"pilot spirit (a reference with none)", c::kPilotSpirit,
         [] { return L::pilot_spirit_record::kBase + 4 * L::pilot_spirit_record::kSize; }, 1, 0xFF, 3,
         "精神コマンド1", Is("無し(0xFF)"), [] { return Utf8(demo::detail::SpiritName(3)); }, 4},
        {"pilot skill level", c::kPilotSkill, [] { return L::pilot_skill_record::kBase + 1; }, 1, 10, 20,
         "技能1 習得LV1", Is("10"), Is("20"), 0},
        {"weapon terrain (a rank)", c::kWeapon,
         [] { return L::weapon_record::kBase + 5 * L::weapon_record::kSize + L::weapon_record::kTerrain; }, 2,
         0x0000, 0x1000, "空", Is("S"), Is("A"), 5},
        {"trust effect", c::kTrust, [] { return L::trust_record::kBase + L::trust_record::kPages + 2; }, 2, 1, 3,
         "その１ 効果", Is("小"), Is("大"), 0},
        {"spirit on others (a byte flag)", c::kSpirit,
         [] { return L::spirit_record::kBase + 2 * L::spirit_record::kSize + L::spirit_record::kOnOthers; }, 1, 0,
         1, "他人にかけられる", Is(""), Is("✓"), 2},
        {"skill max level", c::kSkill,
         [] { return L::skill_record::kBase + L::skill_record::kSize + L::skill_record::kMaxLevel; }, 1, 5, 9,
         "最大レベル", Is("5"), Is("9"), 1},
        {"skill class entry", c::kSkillClass, [] { return L::skill_class_record::kBase + 8; }, 2, 0, 4,
         "データ一覧1", [] { return Utf8(demo::detail::SkillName(0)); },
         [] { return Utf8(demo::detail::SkillName(4)); }, 0},
        {"part price", c::kParts, [] { return L::part_record::kBase + 3 * L::part_record::kSize + 22; }, 2, 500,
         800, "売値", Is("500"), Is("800"), 3},
        {"part class count", c::kPartsClass, [] { return L::part_class_record::kBase + L::part_class_record::kSize; },
         4, 2, 3, "件数", Is("2"), Is("3"), 1},
        {"ace spirit: one past the list shows none", c::kAceBonus,
         [] { return L::ace_record::kBase + L::ace_record::kSpirit; }, 1, 33, 1, "補正精神コマンド",
         Is("無し(0xFF)"), [] { return Utf8(demo::detail::SpiritName(1)); }, 0},
        {"weapon direction: its none item has its own text", c::kWeapon,
         [] { return L::weapon_record::kBase + L::weapon_record::kDirection; }, 1, 1, 0xFF, "方向", Is("方向選択"),
         Is("無効(0xFF)"), 0},
        {"full bonus HP", c::kFullBonus, [] { return L::full_record::kBase + 2 * L::full_record::kSize; }, 1, 10,
         20, "HP+%", Is("10"), Is("20"), 2},
        {"battle line speaker", c::kBattleLine, [] { return LineRecord(0, 0); }, 1, 0xFF, 1, "セリフ0 セリフキャラ",
         Is("FF: デフォルト"), [] { return "01: " + Utf8(PilotName(1)); }, 0},
        {"deployment level", c::kScenario, [] { return DeployRecord(0, 1) + L::deploy_record::kLevel; }, 1, 1, 30,
         "配置1 LV", Is("1"), Is("30"), 0},
    };
    std::vector<bool> seen(kCategoryCount, false);
    for (const FieldCase& t : cases) {
        SCOPED_TRACE(t.what);
        m_before = Demo();
        m_after = Demo();
        Put(m_before, t.at(), t.width, t.before);
        Put(m_after, t.at(), t.width, t.after);
        const std::vector<ChangeRow> rows = Explain();
        ASSERT_EQ(rows.size(), 1u);
        const ChangeRow& row = rows[0];
        EXPECT_EQ(row.category, t.category);
        EXPECT_EQ(row.field, t.field);
        EXPECT_EQ(row.record, t.record);
        EXPECT_EQ(row.before, t.shownBefore());
        EXPECT_EQ(row.after, t.shownAfter());
        EXPECT_FALSE(row.recordName.empty());
        seen[static_cast<size_t>(t.category)] = true;
    }
    for (int k = 0; k < kCategoryCount; ++k) EXPECT_TRUE(seen[static_cast<size_t>(k)]) << CategoryLabel(k);
}

TEST_F(ChangeExplainTest, RecordsAreNamedAsTheEditorsListThem) {
    Put(m_after, L::unit_record::kBase + L::unit_record::kMaxEn, 2, 321);
    Put(m_after, L::skill_class_record::kBase + 2 * L::skill_class_record::kSize + 8, 2, 7);
    const uint32_t message = [] {
        uint32_t deploy = 0, messages = 0;
        ReadChapterPointers(Demo().data(), demo::kDemoRomSize, 0, deploy, messages);
        return messages - kBusBase;
    }();
    Put(m_after, message + L::message_record::kWindow, 1, 1);
    const std::vector<ChangeRow> rows = Explain();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].recordName, Utf8(demo::detail::UnitName(0)));
    EXPECT_EQ(rows[1].recordName, "補助系");
    EXPECT_EQ(rows[2].table, "セリフ");
    EXPECT_EQ(rows[2].field, "セリフ0 ウィンドウの位置");
    EXPECT_EQ(rows[2].recordName.find("第"), 0u) << "a chapter goes by its heading";
}

uint32_t MessageTextAt(int chapter, int message) {
    uint32_t deploy = 0, messages = 0;
    EXPECT_TRUE(ReadChapterPointers(Demo().data(), demo::kDemoRomSize, chapter, deploy, messages));
    const uint32_t record = messages - kBusBase + L::message_record::kSize * static_cast<uint32_t>(message);
    return Read32(&Demo()[record + L::message_record::kText]) - kBusBase;
}

uint32_t LineTextAt(int pilot, int line) {
    return LineText(Demo().data(), ReadBattlePilot(Demo().data(), demo::kDemoRomSize, pilot), line);
}

// Texts and records the pointers reach, the chapter past 16 MiB among them.
TEST_F(ChangeExplainTest, ListTextsAreNamedByChapterOrPilotAndEntry) {
    struct Case {
        const char* what;
        std::function<uint32_t()> at;
        int category, record;
        const char* table;
        const char* field;
        std::function<std::string()> before;
    };
    const Case cases[] = {
        {"a message text", [] { return MessageTextAt(0, 1); }, category::kScenario, 0, "セリフ", "セリフ1 テキスト",
         [] { return Utf8(demo::detail::MessageText(0, 1)); }},
        {"a battle line", [] { return LineTextAt(1, 0); }, category::kBattleLine, 1, "バトルセリフ", "セリフ0 内容",
         [] { return Utf8(demo::detail::BattleLineText(1, 0)); }},
        {"a deployment past 16 MiB", [] { return DeployRecord(demo::kExtendedChapter, 0) + L::deploy_record::kUnit; },
         category::kScenario, demo::kExtendedChapter, "マップデータ", "配置0 ユニット", nullptr},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.what);
        m_after = Demo();
        const uint32_t at = t.at();
        m_after[at] = static_cast<uint8_t>(m_after[at] == 0x21 ? 0x22 : 0x21);  // unit 33 or 34; a one-byte code
        const std::vector<ChangeRow> rows = Explain();
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].category, t.category);
        EXPECT_EQ(rows[0].record, t.record);
        EXPECT_EQ(rows[0].table, t.table);
        EXPECT_EQ(rows[0].field, t.field);
        if (t.before) {
            EXPECT_EQ(rows[0].before, t.before());
        }
        EXPECT_NE(rows[0].before, rows[0].after);
    }
}

TEST_F(ChangeExplainTest, ACodeThatChangesNothingListsTheFieldsItTouches) {
    PatchCodeList codes;
    const uint32_t at = L::unit_record::kBase + L::unit_record::kMove;
    codes.Set(at, Read16(&Demo()[at]));
    const std::vector<ChangeRow> rows = ExplainCodes({Demo().data(), static_cast<uint32_t>(Demo().size())},
                                                     {Demo().data(), static_cast<uint32_t>(Demo().size())}, codes);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].before, rows[0].after);
    EXPECT_EQ(rows[1].field, "強化パーツスロット数");
}

TEST_F(ChangeExplainTest, OneCodeOverTwoFieldsGivesTwoRows) {
    const uint32_t at = L::unit_record::kBase + L::unit_record::kMove;  // 移動力, then the slot count
    ASSERT_EQ(at % 2, 0u);
    Put(m_before, at, 2, 0x0105);
    Put(m_after, at, 2, 0x0206);
    const std::vector<ChangeRow> rows = Explain();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].offset, rows[1].offset);
    EXPECT_EQ(rows[0].field, "移動力");
    EXPECT_EQ(rows[0].before + ">" + rows[0].after, "5>6");
    EXPECT_EQ(rows[1].field, "強化パーツスロット数");
    EXPECT_EQ(rows[1].before + ">" + rows[1].after, "1>2");
}

TEST_F(ChangeExplainTest, ATextTouchedByManyCodesIsOneRowWithBothTexts) {
    const uint32_t at = L::weapon_record::kBase + L::weapon_record::kName;
    std::vector<uint8_t> name = demo::EncodeText(demo::detail::Sj("テストビームライフル"));
    name.resize(L::weapon_record::kNameLength, 0);
    std::copy(name.begin(), name.end(), m_after.begin() + at);
    const std::vector<ChangeRow> rows = Explain();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].field, "名前");
    EXPECT_EQ(rows[0].before, Utf8(demo::detail::WeaponName(0)));
    EXPECT_EQ(rows[0].after, "テストビームライフル");
    EXPECT_EQ(rows[0].offset, at);
}

TEST_F(ChangeExplainTest, BytesNoControlOwnsAreShownInHex) {
    struct Case {
        const char* what;
        uint32_t at;
        uint8_t value;
        size_t rows;
        const char* before;
        const char* after;
    };
    const uint32_t unit = L::unit_record::kBase;
    const Case cases[] = {
        {"a byte outside every table", 0x200, 0x5A, 1, nullptr, "5A"},
        {"a unit byte no control owns, beside the full bonus", unit + 29, 0x77, 1, nullptr, nullptr},
        {"move-type bits 4-7, which no box shows", unit + L::unit_record::kMoveTypes, 0xF0, 1, nullptr, nullptr},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.what);
        m_after = Demo();
        m_after[t.at] = static_cast<uint8_t>(m_after[t.at] ^ t.value);
        const std::vector<ChangeRow> rows = Explain();
        ASSERT_EQ(rows.size(), t.rows);
        const ChangeRow& row = rows.back();
        EXPECT_EQ(row.category, -1);
        EXPECT_EQ(row.record, -1);
        EXPECT_TRUE(row.field.empty());
        // Only one byte of the word changed: the row names that byte, not the word.
        EXPECT_EQ(row.offset, t.at);
        EXPECT_EQ(row.before.size(), 2u) << "one byte in hex: " << row.before;
        EXPECT_NE(row.before, row.after);
    }
}

TEST_F(ChangeExplainTest, CodesPastTheOldEndCompareWithTheFiller) {
    std::vector<uint8_t> longer = Demo();
    longer.resize(longer.size() + 4, 0xFF);
    longer[longer.size() - 2] = 0x12;
    PatchCodeList codes;
    codes.Set(static_cast<uint32_t>(longer.size() - 2), 0xFF12);
    const std::vector<ChangeRow> rows =
        ExplainCodes({Demo().data(), static_cast<uint32_t>(Demo().size())},
                     {longer.data(), static_cast<uint32_t>(longer.size())}, codes);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].before, "FF");
    EXPECT_EQ(rows[0].after, "12");
}

TEST_F(ChangeExplainTest, CsvQuotesFieldsAndEndsLinesWithCrLf) {
    ChangeRow row;
    row.offset = 0x10;
    row.category = category::kUnit;
    row.table = "ユニット";
    row.record = 3;
    row.field = "名前";
    row.before = "a,b";
    row.after = "say \"hi\"\nbye";
    const std::string csv = ChangeRowsCsv({row});
    EXPECT_EQ(csv.substr(csv.find("\r\n") + 2),
              "08000010,ユニット,ユニット,3,,名前,\"a,b\",\"say \"\"hi\"\"\nbye\"\r\n");
}

// The workspace keeps the image as loaded, so the main window can show old values.
TEST_F(ChangeExplainTest, WorkspaceKeepsTheLoadedImageAcrossEditsAndLengthening) {
    struct Yes : WorkspaceQuestions {
        bool AcceptWrongTitle() override { return true; }
        bool AcceptExtend(uint32_t) override { return true; }
    } yes;
    Workspace ws;
    const std::string rom = m_dir.Write("demo.gba", Demo());
    ASSERT_TRUE(ws.LoadRom(rom, yes));
    EXPECT_EQ(ws.m_original, Demo());
    const uint32_t hp = L::unit_record::kBase;
    m_dir.Write("codes.txt", "080C38C4:0457\r\n09010000:1234\r\n");
    ASSERT_EQ(ws.LoadCodes(m_dir.File("codes.txt"), yes), LoadCodesResult::Applied);
    EXPECT_EQ(ws.m_original, Demo()) << "neither codes nor lengthening change the old image";
    const std::vector<ChangeRow> rows = ExplainCodes(
        {ws.m_original.data(), static_cast<uint32_t>(ws.m_original.size())}, {ws.m_rom.m_pData, ws.m_rom.m_nSize},
        ws.m_codes);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].offset, hp);
    EXPECT_EQ(rows[0].after, std::to_string((Read32(&Demo()[hp]) & 0xFFFF0000u) | 0x0457));
    EXPECT_EQ(rows[1].before, "FF FF");

    EXPECT_FALSE(ws.LoadRom(m_dir.File("missing.gba"), yes));
    EXPECT_TRUE(ws.m_original.empty()) << "a failed load leaves no old image behind";
}

// ---- codes explain ----------------------------------------------------------------------

testing::CommandRun Cli(const std::string& args) {
    return testing::RunCommand(testing::ShellQuote(TSUMUGI_CLI_PATH) + " " + args + " 2>/dev/null");
}

// A strict reader of the JSON the command writes (arrays, objects, strings, whole numbers,
// null): true when text is exactly one value.
class JsonReader {
public:
    explicit JsonReader(const std::string& text) : m_text(text) {}
    bool Whole() { return Value() && (Space(), m_at == m_text.size()); }

private:
    void Space() {
        while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at]))) ++m_at;
    }
    bool Eat(char c) { return Space(), m_at < m_text.size() && m_text[m_at] == c && ++m_at; }
    bool Value() {
        Space();
        if (m_at < m_text.size() && m_text[m_at] == '"') return String();
        if (Eat('[')) return List(']', [this] { return Value(); });
        if (Eat('{')) return List('}', [this] { return String() && Eat(':') && Value(); });
        if (m_text.compare(m_at, 4, "null") == 0) return m_at += 4, true;
        const size_t start = m_at;
        while (m_at < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_at]))) ++m_at;
        return m_at > start;
    }
    bool List(char close, const std::function<bool()>& item) {
        if (Eat(close)) return true;
        do {
            if (!item()) return false;
        } while (Eat(','));
        return Eat(close);
    }
    bool String() {
        if (!Eat('"')) return false;
        for (; m_at < m_text.size(); ++m_at) {
            const auto c = static_cast<unsigned char>(m_text[m_at]);
            if (c < 0x20) return false;
            if (c == '"') return ++m_at, true;
            if (c == '\\' && (++m_at >= m_text.size() || std::string_view("\"\\/bfnrtu").find(m_text[m_at]) == std::string_view::npos))
                return false;
        }
        return false;
    }
    const std::string& m_text;
    size_t m_at = 0;
};

TEST_F(ChangeExplainTest, CommandPrintsOneLinePerFieldOrWellFormedJson) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    const std::string rom = m_dir.Write("demo.gba", Demo());
    const std::string table = m_dir.File("string.txt");
    // Unit 0's HP and the weapon name's first word, and a word outside every table.
    m_dir.Write("codes.txt", "080C38C4:0457\r\n080D7CC0:0102\r\n08000200:ABCD\r\n");
    const std::string args = "--table '" + table + "' codes explain '" + rom + "' '" + m_dir.File("codes.txt") + "'";

    const testing::CommandRun plain = Cli(args);
    ASSERT_EQ(plain.code, 0);
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = plain.out.find('\n', at)) != std::string::npos; at = end + 1) {
        lines.push_back(plain.out.substr(at, end - at));
    }
    ASSERT_EQ(lines.size(), 3u) << plain.out;
    EXPECT_EQ(lines[0].rfind("08000200\t\t\t\t\t\t", 0), 0u) << lines[0];
    EXPECT_EQ(lines[0].substr(lines[0].size() - 6), "\tCD AB");
    EXPECT_EQ(std::count(lines[1].begin(), lines[1].end(), '\t'), 7) << lines[1];
    EXPECT_EQ(lines[1].rfind("080C38C4\tユニット\tユニット\t0\t", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find("\t最大HP\t"), std::string::npos);
    EXPECT_NE(lines[2].find("\t武器\t武器\t0\t"), std::string::npos) << lines[2];

    const testing::CommandRun json = Cli(args + " --json");
    ASSERT_EQ(json.code, 0);
    EXPECT_TRUE(JsonReader(json.out).Whole()) << json.out;
    EXPECT_NE(json.out.find("\"field\":\"最大HP\""), std::string::npos);
    EXPECT_NE(json.out.find("\"record\":null"), std::string::npos) << "the uncovered word has no record";

    m_dir.Write("empty.txt", "");
    const testing::CommandRun none = Cli("--table '" + table + "' codes explain '" + rom + "' '" + m_dir.File("empty.txt") + "' --json");
    EXPECT_EQ(none.out, "[]\n");
}

}  // namespace
}  // namespace tsumugi

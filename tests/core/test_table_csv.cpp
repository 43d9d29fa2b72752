// Tables as CSV: the text escapes, an edited cell landing in its field, every refusal
// naming its row and column, export then import changing nothing (on the demo and on
// images of random bytes), and the three tsumugi-cli commands.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/demo_image.h"
#include "core/bytes.h"
#include "core/char_table.h"
#include "core/csv.h"
#include "core/layout/abilities.h"
#include "core/layout/descriptor.h"
#include "core/layout/pilots.h"
#include "core/layout/units.h"
#include "core/table_csv.h"
#include "core/text_escape.h"
#include "demo/rom.h"
#include "random_bytes.h"
#include "run_command.h"
#include "table_fixture.h"
#include "temp_dir.h"

namespace tsumugi {
namespace {

using test::Sj;

// ---- The escapes, over a small table --------------------------------------------------

uint16_t Display(std::string_view utf8) {
    const std::string cp932 = Sj(utf8);
    return static_cast<uint16_t>(static_cast<uint8_t>(cp932[0]) | static_cast<uint8_t>(cp932[1]) << 8);
}

class GameTextEscapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_codeToChar = {
            {0x01, Display("ア")}, {0x02, static_cast<uint16_t>('{' | 'a' << 8)},
            {0x03, Display("ア")},                                  // listed twice: 0x01 wins
            {0x04, static_cast<uint16_t>('\r' | '\n' << 8)},       // would read back as a break
            {0xC1C0, Display("漢")},                                // bytes C0 C1
        };
        for (const auto& [code, ch] : m_codeToChar) m_charToCode.emplace(ch, code);
    }
    std::map<uint16_t, uint16_t> m_codeToChar, m_charToCode;
};

TEST_F(GameTextEscapeTest, BytesReadAsTextAndBack) {
    const struct {
        std::vector<uint8_t> bytes;
        const char* text;
        size_t used;
    } cases[] = {
        {{0x01, 0xFE, 0x02, 0xC0, 0xC1, 0xFF, 0x01}, "ア\n{{a漢", 5},
        {{0x03}, "{03}", 1},
        {{0x04, 0x01}, "{04}ア", 2},
        {{0x05, 0xFD, 0xF0}, "{05}{FD F0}", 3},
        {{0x01, 0xC0}, "ア{C0}", 2},           // a lead byte in the last place stands alone
        {{0xC0, 0xFF, 0x01}, "{C0 FF}ア", 3},  // the terminator inside a pair is no terminator
        {{0xFF, 0x01}, "", 0},
    };
    GameTextEscaper escaper(m_codeToChar, m_charToCode);
    for (const auto& c : cases) {
        size_t used = 99;
        EXPECT_EQ(escaper.Decode(c.bytes, &used), c.text);
        EXPECT_EQ(used, c.used) << c.text;
        const EscapedEncoding back = escaper.Encode(c.text);
        ASSERT_TRUE(back.ok) << c.text << ": " << back.reason;
        EXPECT_EQ(back.bytes, std::vector<uint8_t>(c.bytes.begin(), c.bytes.begin() + static_cast<long>(c.used)))
            << c.text;
    }
    const EscapedEncoding crlf = escaper.Encode("ア\r\nア{fd f0}");
    EXPECT_EQ(crlf.bytes, (std::vector<uint8_t>{0x01, 0xFE, 0x01, 0xFD, 0xF0})) << "CR LF and lower-case hex";
}

TEST_F(GameTextEscapeTest, BadTextIsRefusedWithItsPosition) {
    const struct {
        const char* text;
        size_t position;
        const char* reason;
    } cases[] = {
        {"ア{ZZ}", 1, "hex bytes"},
        {"ア{FD F0", 1, "not closed"},
        {"{FD  F0}", 0, "hex bytes"},
        {"{}", 0, "hex bytes"},
        {"アイ", 1, "\"イ\" has no code"},
        {"ア\n漢é", 3, "\"é\" has no cp932 form"},
        {"ア{", 1, "not closed"},
        {"ア\n{{イ", 2, "\"{\" has no code"},  // the doubled brace is one character at 2
        {"{{aア{{イ", 4, "\"{\" has no code"},  // and the next one at 4
    };
    GameTextEscaper escaper(m_codeToChar, m_charToCode);
    for (const auto& c : cases) {
        const EscapedEncoding result = escaper.Encode(c.text);
        ASSERT_FALSE(result.ok) << c.text;
        EXPECT_EQ(result.errorPos, c.position) << c.text;
        EXPECT_NE(result.reason.find(c.reason), std::string::npos) << c.text << ": " << result.reason;
    }
}

// ---- Tables over the demo ROM -----------------------------------------------------------

class TableCsvTest : public test::TableFixture {
protected:
    void SetUp() override {
        test::TableFixture::SetUp();
        WriteTable(demo::StringTable());
        const std::string table = demo::StringTable();
        ASSERT_TRUE(CharTable::Instance().Parse(reinterpret_cast<const uint8_t*>(table.data()), table.size()));
        CharTable::Instance().m_bLoaded = true;
    }

    static std::vector<uint8_t>& Rom() {
        static std::vector<uint8_t> rom = testing::DemoImage();
        return rom;
    }

    static std::string Export(const layout::Table& table, const std::vector<uint8_t>& rom) {
        return ExportTableCsv(table, rom.data(), static_cast<uint32_t>(rom.size())).value_or("");
    }

    static TableCsvImport Import(const layout::Table& table, const std::vector<uint8_t>& rom,
                                 const std::string& csv) {
        return ImportTableCsv(table, rom.data(), static_cast<uint32_t>(rom.size()), csv.data(), csv.size());
    }

    static std::vector<csv::Row> Rows(const std::string& text) { return csv::Parse(text).rows; }

    static std::string Text(const std::vector<csv::Row>& rows) {
        std::string text;
        for (const csv::Row& row : rows) csv::AppendRow(text, row);
        return text;
    }

    static size_t Column(const csv::Row& header, const std::string& label) {
        for (size_t k = 0; k < header.size(); ++k) {
            if (header[k] == label) return k;
        }
        ADD_FAILURE() << "no column " << label;
        return 0;
    }
};

TEST_F(TableCsvTest, ExportThenImportChangesNothingOnTheDemo) {
    for (const layout::Table& table : layout::Tables()) {
        const std::string csv = Export(table, Rom());
        const std::vector<csv::Row> rows = Rows(csv);
        ASSERT_EQ(rows.size(), static_cast<size_t>(table.count) + 1) << table.name;
        EXPECT_EQ(rows[0], TableCsvHeader(table)) << table.name;
        EXPECT_EQ(rows[0][0], kRecordNumberHeader);
        // As written, with LF line ends only, and with CR LF inside texts too (what editors
        // and spreadsheets may make of it).
        std::string lf, crlf;
        for (size_t i = 0; i < csv.size(); ++i) {
            if (csv[i] != '\r') lf += csv[i];
            if (csv[i] == '\n' && (i == 0 || csv[i - 1] != '\r')) crlf += '\r';
            crlf += csv[i];
        }
        for (const std::string& text : {csv, lf, crlf}) {
            const TableCsvImport back = Import(table, Rom(), text);
            ASSERT_TRUE(back.ok) << table.name << ": " << back.error.Describe();
            EXPECT_FALSE(back.changed) << table.name;
        }
    }
}

TEST_F(TableCsvTest, ExportThenImportChangesNothingOnRandomImages) {
    test::RandomBytes random(0x75C5);
    for (int round = 0; round < 3; ++round) {
        std::vector<uint8_t> rom = Rom();
        for (const layout::Table& table : layout::Tables()) {
            for (uint32_t at = table.base; at < table.End(); ++at) {
                // Mostly random bytes, with runs of the values the decoders treat apart.
                const uint32_t pick = random.Below(16);
                rom[at] = pick == 0 ? 0xFF : pick == 1 ? 0xFE : pick == 2 ? 0x00 : random.Byte();
            }
        }
        for (const layout::Table& table : layout::Tables()) {
            const std::string csv = Export(table, rom);
            const TableCsvImport back = Import(table, rom, csv);
            ASSERT_TRUE(back.ok) << table.name << " round " << round << ": " << back.error.Describe();
            EXPECT_FALSE(back.changed) << table.name << " round " << round;
            EXPECT_EQ(Export(table, rom), csv) << "the export is stable";
        }
    }
}

// Random valid values in random cells of every table: each lands where it was written and
// no other cell moves, bit fields sharing a byte included.
TEST_F(TableCsvTest, RandomEditsReadBackExactlyAndAlone) {
    test::RandomBytes random(0xC5F);
    static const char* const kKana[] = {"ア", "イ", "ウ", "エ", "オ", "漢", "字", "Ａ", "１"};
    for (const layout::Table& table : layout::Tables()) {
        std::vector<csv::Row> rows = Rows(Export(table, Rom()));
        std::vector<std::pair<size_t, size_t>> edited;
        for (int e = 0; e < 40; ++e) {
            const size_t r = 1 + random.Below(static_cast<uint64_t>(table.count));
            size_t k = 1;
            const layout::Field* field = nullptr;
            const size_t pick = random.Below(table.fields.size());
            for (size_t f = 0; f <= pick; ++f, ++k) {
                field = &table.fields[f];
                if (f < pick && (field->kind == layout::FieldKind::Choice || field->kind == layout::FieldKind::Reference)) ++k;
            }
            --k;
            std::string value;
            switch (field->kind) {
                case layout::FieldKind::Number: value = std::to_string(random.Next() % (uint64_t{layout::MaxOf(*field)} + 1)); break;
                case layout::FieldKind::Flag: value = random.OneIn(2) ? "1" : "0"; break;
                case layout::FieldKind::Rank: value = std::string(1, "SABCD"[random.Below(5)]); break;
                case layout::FieldKind::Choice: value = std::to_string(random.Below(uint64_t{field->max} + 1)); break;
                case layout::FieldKind::Reference:
                    value = std::to_string(random.Below(static_cast<uint64_t>(layout::CountOf(field->refers))));
                    break;
                case layout::FieldKind::Text:
                    for (uint32_t n = random.Below(field->width == 2 ? 2 : field->width / 2); n > 0; --n) value += kKana[random.Below(9)];
                    break;
            }
            if (field->kind == layout::FieldKind::Reference && field->bits != 0) value = std::to_string(random.Below(uint64_t{1} << field->bits));
            rows[r][k] = value;
            edited.emplace_back(r, k);
        }
        const TableCsvImport result = Import(table, Rom(), Text(rows));
        ASSERT_TRUE(result.ok) << table.name << ": " << result.error.Describe();
        std::vector<uint8_t> image = Rom();
        std::copy(result.records.begin(), result.records.end(), image.begin() + table.base);
        const std::vector<csv::Row> again = Rows(Export(table, image));
        for (size_t r = 1; r < rows.size(); ++r) {
            for (size_t k = 0; k < rows[r].size(); ++k) {
                if (rows[0][k].find(kNameColumnSuffix) != std::string::npos) continue;
                EXPECT_EQ(again[r][k], rows[r][k]) << table.name << " row " << r << " " << rows[0][k];
            }
        }
    }
}

TEST_F(TableCsvTest, AnEditedCellLandsInItsFieldAlone) {
    using namespace layout;
    const std::vector<uint8_t> name = demo::EncodeText(Sj("ビーム"));
    const struct {
        const char* table;
        int record;
        const char* column;
        const char* cell;
        std::function<bool(const uint8_t* record)> check;
    } cases[] = {
        {"weapons", 5, "攻撃力", "1234", [](const uint8_t* r) { return Read16(r + weapon_record::kAttack) == 1234; }},
        {"weapons", 6, "空", "D", [](const uint8_t* r) { return (Read16(r + weapon_record::kTerrain) >> 12) == 4; }},
        {"weapons", 7, "必要技能", "255", [](const uint8_t* r) { return r[weapon_record::kSkill] == 0xFF; }},
        {"weapons", 8, "名前", "ビーム",
         [&name](const uint8_t* r) {
             return std::equal(name.begin(), name.end(), r + weapon_record::kName) &&
                    r[weapon_record::kName + weapon_record::kNameLength - 1] == 0x00;
         }},
        {"weapons", 9, "名前", "{FD F0}",
         [](const uint8_t* r) {
             const uint8_t* p = r + weapon_record::kName;
             return p[0] == 0xFD && p[1] == 0xF0 && p[2] == 0xFF;
         }},
        {"units", 3, "最大HP", "4294967295", [](const uint8_t* r) { return Read32(r + unit_record::kMaxHp) == 0xFFFFFFFFu; }},
        {"pilots", 2, "女", "1", [](const uint8_t* r) { return (r[pilot_record::kSexPersonality] & 1) == 1; }},
        {"spirits", 1, "名前一文字", "ア", [](const uint8_t* r) { return Read16(r + spirit_record::kInitial) == 0xFF00 + demo::EncodeText(Sj("ア"))[0]; }},
        {"spirits", 2, "名前一文字", "", [](const uint8_t* r) { return Read16(r + spirit_record::kInitial) == 0; }},
        {"spirits", 3, "説明", "一行目\n二行目",
         [](const uint8_t* r) {
             const std::vector<uint8_t> line = demo::EncodeText(Sj("一行目"));
             return r[spirit_record::kDescription + line.size() - 1] == 0xFE;
         }},
        {"spirits", 4, "説明", "一行目\n",
         [](const uint8_t* r) {
             const std::vector<uint8_t> line = demo::EncodeText(Sj("一行目"));
             return r[spirit_record::kDescription + line.size() - 1] == 0xFE &&
                    r[spirit_record::kDescription + line.size()] == 0xFF;
         }},
    };
    for (const auto& c : cases) {
        const Table& table = *FindTable(c.table);
        std::vector<csv::Row> rows = Rows(Export(table, Rom()));
        rows[static_cast<size_t>(c.record) + 1][Column(rows[0], c.column)] = c.cell;
        const TableCsvImport result = Import(table, Rom(), Text(rows));
        ASSERT_TRUE(result.ok) << c.table << " " << c.column << ": " << result.error.Describe();
        const size_t at = table.size * static_cast<size_t>(c.record);
        EXPECT_TRUE(c.check(result.records.data() + at)) << c.table << " " << c.column;
    }
}

TEST_F(TableCsvTest, EveryRefusalNamesRowColumnAndReason) {
    const layout::Table& weapons = *layout::FindTable("weapons");
    const std::string good = Export(weapons, Rom());
    const csv::Row header = Rows(good)[0];
    const auto cell = [&](int record, const char* column, std::string value) {
        std::vector<csv::Row> rows = Rows(good);
        rows[static_cast<size_t>(record) + 1][Column(header, column)] = std::move(value);
        return Text(rows);
    };
    const auto rows = [&](const std::function<void(std::vector<csv::Row>&)>& edit) {
        std::vector<csv::Row> r = Rows(good);
        edit(r);
        return Text(r);
    };
    const size_t last = header.size();
    const size_t attack = Column(header, "攻撃力") + 1, wp = Column(header, "使用WP") + 1,
                 sky = Column(header, "空") + 1, name = Column(header, "名前") + 1,
                 skill = Column(header, "必要技能") + 1, beam = Column(header, "ビーム") + 1;
    const struct {
        const char* what;
        std::string csv;
        size_t row, column;
        const char* reason;
    } cases[] = {
        {"wrong header", rows([](auto& r) { r[0][2] = "攻撃"; }), 1, 3, "where \"命中＋\" belongs"},
        {"missing column", rows([](auto& r) { for (auto& row : r) row.pop_back(); }), 1, last, "is missing"},
        {"extra column", rows([](auto& r) { for (auto& row : r) row.push_back("x"); }), 1, last + 1, "extra column"},
        {"extra row", rows([](auto& r) { r.push_back(r.back()); }), 742, 0, "extra row"},
        {"missing row", rows([](auto& r) { r.pop_back(); }), 741, 0, "a row is missing"},
        {"short row", rows([](auto& r) { r[4].pop_back(); }), 5, 0, "cells where the header has"},
        {"moved row", rows([](auto& r) { std::swap(r[3], r[4]); }), 4, 1, "record number"},
        {"bad quote", std::string(good).insert(good.find("\r\n2,") + 5, "\""), 4, attack, "quote inside"},
        {"not a number", cell(2, "攻撃力", "12a"), 4, attack, "not a whole number"},
        {"negative number", cell(2, "攻撃力", "-1"), 4, attack, "not a whole number"},
        {"number out of range", cell(3, "使用WP", "256"), 5, wp, "out of range: 0 to 255"},
        {"number beyond 32 bits", cell(3, "使用WP", "4294967296"), 5, wp, "not a whole number"},
        {"reference past the records", cell(4, "必要技能", "36"), 6, skill, "0 to 35 or 255 for none"},
        {"bad rank letter", cell(5, "空", "E"), 7, sky, "one of S A B C D"},
        {"rank as a number", cell(5, "空", "9"), 7, sky, "one of S A B C D"},
        {"flag not 0 or 1", cell(6, "ビーム", "2"), 8, beam, "0 or 1"},
        {"text too long", cell(7, "名前", "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ"), 9, name, "too long: 35 bytes"},
        {"character without a code", cell(7, "名前", "ア弌"), 9, name, "\"弌\" has no code in the character table (character 2)"},
        {"character without cp932", cell(7, "名前", "é"), 9, name, "no cp932 form"},
        {"bad escape", cell(7, "名前", "{ZZ}"), 9, name, "hex bytes"},
        {"terminator escape", cell(7, "名前", "ア{FF}イ"), 9, name, "terminator"},
        {"cut pair escape", cell(7, "名前", "ア{C5}"), 9, name, "inside a two-byte code"},
        // The line break 0xFE is a code alone: the lead byte after it is still cut.
        {"cut pair after a line break", cell(7, "名前", "ゥ\r\n{C1}"), 9, name, "inside a two-byte code"},
        {"bad UTF-8", cell(8, "名前", "\xE3\x82"), 10, name, "not UTF-8"},
        {"empty file", "", 1, 0, "header row is missing"},
    };
    for (const auto& c : cases) {
        const TableCsvImport result = Import(weapons, Rom(), c.csv);
        ASSERT_FALSE(result.ok) << c.what;
        EXPECT_TRUE(result.records.empty()) << c.what << ": nothing comes back";
        EXPECT_EQ(result.error.row, c.row) << c.what << ": " << result.error.Describe();
        EXPECT_EQ(result.error.column, c.column) << c.what << ": " << result.error.Describe();
        EXPECT_NE(result.error.Describe().find(c.reason), std::string::npos) << c.what << ": " << result.error.Describe();
    }
}

TEST_F(TableCsvTest, StoredValuesOutsideTheirRangeAndFillerSurviveUnlessEdited) {
    const layout::Table& weapons = *layout::FindTable("weapons");
    std::vector<uint8_t> rom = Rom();
    uint8_t* record = rom.data() + weapons.base + weapons.size * 10;
    record[layout::weapon_record::kSkill] = 200;                      // no such skill
    Write16(record + layout::weapon_record::kTerrain, 0xF7F7);         // ranks 15 and 7
    record[layout::weapon_record::kName + layout::weapon_record::kNameLength - 1] = 0x5A;  // filler
    const std::string csv = Export(weapons, rom);
    const csv::Row header = Rows(csv)[0];
    const csv::Row row = Rows(csv)[11];
    EXPECT_EQ(row[Column(header, "必要技能")], "200");
    EXPECT_EQ(row[Column(header, "必要技能 名前")], "");
    EXPECT_EQ(row[Column(header, "空")], "15");
    EXPECT_EQ(row[Column(header, "陸")], "7");
    const TableCsvImport same = Import(weapons, rom, csv);
    ASSERT_TRUE(same.ok) << same.error.Describe();
    EXPECT_FALSE(same.changed);

    std::vector<csv::Row> rows = Rows(csv);
    rows[11][Column(header, "名前")] = "ア";
    const TableCsvImport renamed = Import(weapons, rom, Text(rows));
    ASSERT_TRUE(renamed.ok) << renamed.error.Describe();
    const uint8_t* stored = renamed.records.data() + weapons.size * 10 + layout::weapon_record::kName;
    EXPECT_EQ(stored[layout::weapon_record::kNameLength - 1], 0x00) << "a new text fills its field with 0";
}

// ---- tsumugi-cli ------------------------------------------------------------------------

class TableCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_dir.Path().empty());
        m_rom = m_dir.Write("demo.gba", Rom());
        m_table = m_dir.Write("string.txt", demo::StringTable());
    }

    static const std::vector<uint8_t>& Rom() {
        static const std::vector<uint8_t> rom = testing::DemoImage();
        return rom;
    }

    testing::CommandRun Cli(const std::vector<std::string>& args) {
        std::string command = testing::ShellQuote(TSUMUGI_CLI_PATH) + " --table " + testing::ShellQuote(m_table);
        for (const std::string& a : args) command += " " + testing::ShellQuote(a);
        command += " 2>" + testing::ShellQuote(m_dir.File("stderr.txt"));
        testing::CommandRun run = testing::RunCommand(command);
        run.err = testing::ReadText(m_dir.File("stderr.txt"));
        return run;
    }

    testing::TempDir m_dir;
    std::string m_rom, m_table;
};

TEST_F(TableCliTest, ListNamesEveryTableWithItsCount) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    const testing::CommandRun run = Cli({"table", "list"});
    ASSERT_EQ(run.code, 0) << run.err;
    std::string expected;
    for (const layout::Table& t : layout::Tables())
        expected += std::string(t.name) + "\t" + std::to_string(t.count) + "\t" + t.label + "\n";
    EXPECT_EQ(run.out, expected);
}

TEST_F(TableCliTest, ExportEditImportGivesTheCodesOfTheEditOnly) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    const testing::CommandRun exported = Cli({"table", "export", m_rom, "weapons"});
    ASSERT_EQ(exported.code, 0) << exported.err;
    ASSERT_EQ(Cli({"table", "export", m_rom, "weapons", "-o", m_dir.File("w.csv")}).code, 0);
    EXPECT_EQ(testing::ReadText(m_dir.File("w.csv")), exported.out) << "-o writes what stdout shows";

    EXPECT_EQ(Cli({"table", "import", m_rom, "weapons", m_dir.File("w.csv"), "--codes", m_dir.File("none.txt")}).code, 0);
    EXPECT_EQ(testing::ReadText(m_dir.File("none.txt")), "") << "no change, no code";
    // With the mark a spreadsheet needs; read back the same.
    ASSERT_EQ(Cli({"table", "export", m_rom, "weapons", "--bom", "-o", m_dir.File("bom.csv")}).code, 0);
    EXPECT_EQ(testing::ReadText(m_dir.File("bom.csv")), kUtf8Bom + exported.out);
    EXPECT_EQ(Cli({"table", "import", m_rom, "weapons", m_dir.File("bom.csv"), "--codes", m_dir.File("none.txt")}).code, 0);
    EXPECT_EQ(testing::ReadText(m_dir.File("none.txt")), "");

    std::vector<csv::Row> rows = csv::Parse(exported.out).rows;
    rows[3][1] = "4660";  // weapon 2's attack, 0x1234
    std::string edited;
    for (const csv::Row& row : rows) csv::AppendRow(edited, row);
    const std::string csvPath = m_dir.Write("edited.csv", edited);
    const testing::CommandRun codes = Cli({"table", "import", m_rom, "weapons", csvPath, "--codes", m_dir.File("codes.txt")});
    ASSERT_EQ(codes.code, 0) << codes.err;
    char line[32];
    std::snprintf(line, sizeof line, "%08X:1234\r\n",
                  0x08000000u + layout::weapon_record::kBase + 2 * layout::weapon_record::kSize +
                      layout::weapon_record::kAttack);
    EXPECT_EQ(testing::ReadText(m_dir.File("codes.txt")), line);

    const testing::CommandRun image = Cli({"table", "import", m_rom, "weapons", csvPath, "-o", m_dir.File("out.gba")});
    ASSERT_EQ(image.code, 0) << image.err;
    std::vector<uint8_t> expected = Rom();
    Write16(expected.data() + layout::weapon_record::kBase + 2 * layout::weapon_record::kSize +
                layout::weapon_record::kAttack,
            0x1234);
    EXPECT_TRUE(testing::ReadBytes(m_dir.File("out.gba")) == expected);
}

TEST_F(TableCliTest, RefusalsExitWithTheirCodeAndWriteNothing) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    const std::string bad = m_dir.Write("bad.csv", std::string("番号\r\n"));
    const std::string sjis = m_dir.Write("sjis.csv", test::Sj("番号\r\n"));
    const std::string out = m_dir.File("out.gba");
    const struct {
        std::vector<std::string> args;
        int code;
        const char* message;
    } cases[] = {
        {{"table", "import", m_rom, "weapons", bad}, 2, "exactly one of -o OUT and --codes FILE"},
        {{"table", "import", m_rom, "weapons", bad, "-o", out, "--codes", out}, 2, "exactly one of"},
        {{"table", "export", m_rom, "weapon"}, 1, "no table is called \"weapon\""},
        {{"table", "import", m_rom, "weapons", bad, "-o", out}, 1, "row 1, column 2 (攻撃力): the column \"攻撃力\" is missing; nothing written"},
        {{"table", "import", m_rom, "weapons", m_dir.File("absent.csv"), "-o", out}, 1, "cannot read the CSV file"},
        {{"table", "import", m_rom, "weapons", sjis, "-o", out}, 1, "is not UTF-8 (line 1): save the file as \"CSV UTF-8\""},
    };
    for (const auto& c : cases) {
        const testing::CommandRun run = Cli(c.args);
        EXPECT_EQ(run.code, c.code) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.message;
    }
}

}  // namespace
}  // namespace tsumugi

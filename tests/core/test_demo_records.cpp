// The demo's records hold only values that the editors show and store unchanged, and every
// pointer of its pointer tables reaches a terminated text inside the image.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/demo_image.h"
#include "core/bytes.h"
#include "core/layout/battle.h"
#include "core/layout/pilots.h"
#include "core/layout/scenario.h"
#include "demo/data.h"
#include "demo/rom.h"
#include "core/table_fixture.h"
#include "core/text_codec.h"

namespace tsumugi {
namespace {


using demo::detail::Sj;

const std::vector<uint8_t>& Demo() {
    static const std::vector<uint8_t> rom = testing::DemoImage();
    return rom;
}

uint32_t At8(uint32_t at) { return Demo()[at]; }
uint32_t At16(uint32_t at) { return Read16(&Demo()[at]); }
uint32_t At32(uint32_t at) { return Read32(&Demo()[at]); }

// A game pointer to a place in [from, to), as a file offset; 0 when it is not one.
uint32_t PointerInto(uint32_t at, uint32_t from, uint32_t to) {
    const uint32_t value = At32(at);
    if (!IsBusAddress(value)) return 0;
    const uint32_t offset = value - kBusBase;
    return offset >= from && offset < to ? offset : 0;
}

// Where a chapter's deployments, messages and texts lie: the scenario data, or for one
// chapter the extension area past 16 MiB.
std::pair<uint32_t, uint32_t> ChapterArea(int n) {
    if (n == demo::kExtendedChapter) return {demo::kExtendedStart, demo::kDemoRomSize};
    return {tsumugi::layout::scenario_area::kStart, tsumugi::layout::scenario_area::kEnd};
}

// One field of a table: every record's value lies in [min, max] or is the none value.
struct Field {
    const char* what;
    uint32_t base, size;
    int count;
    uint32_t offset;
    int width;  // 1 or 2 bytes
    uint32_t min, max;
    bool none;  // 0xFF / 0xFFFF allowed
};

constexpr Field kFields[] = {
    {"unit part slots", 0xC38C4, 104, 150, 21, 1, 0, 4, false},
    {"unit move types", 0xC38C4, 104, 150, 22, 1, 0, 0x0F, false},
    {"unit HP stages", 0xC38C4, 104, 150, 24, 1, 0, 10, false},
    {"unit armour stages", 0xC38C4, 104, 150, 27, 1, 0, 10, false},
    {"unit full bonus", 0xC38C4, 104, 150, 28, 1, 0, 49, true},
    {"unit abilities 2", 0xC38C4, 104, 150, 33, 1, 0, 1, false},
    {"unit abilities 4", 0xC38C4, 104, 150, 35, 1, 0, 1, false},
    {"unit size", 0xC38C4, 104, 150, 41, 1, 0, 4, false},
    {"unit BGM set", 0xC38C4, 104, 150, 43, 1, 0, 63, false},
    {"unit pilot 1", 0xC38C4, 104, 150, 44, 1, 0, 175, true},
    {"unit pilot 4", 0xC38C4, 104, 150, 47, 1, 0, 175, true},
    {"unit weapon 1", 0xC38C4, 104, 150, 48, 2, 0, 739, true},
    {"unit weapon 12", 0xC38C4, 104, 150, 70, 2, 0, 739, true},
    {"weapon type 1", 0xD7CA0, 64, 740, 0, 1, 0, 2, false},
    {"weapon type 2", 0xD7CA0, 64, 740, 1, 1, 0, 27, false},
    {"weapon selection", 0xD7CA0, 64, 740, 2, 1, 0, 2, false},
    {"weapon cost type", 0xD7CA0, 64, 740, 6, 1, 0, 4, false},
    {"weapon growth type", 0xD7CA0, 64, 740, 7, 1, 0, 4, false},
    {"weapon direction", 0xD7CA0, 64, 740, 8, 1, 0, 3, true},
    {"weapon friend id", 0xD7CA0, 64, 740, 12, 1, 0, 1, false},
    {"weapon skill", 0xD7CA0, 64, 740, 14, 1, 0, 35, true},
    {"weapon byte 31", 0xD7CA0, 64, 740, 31, 1, 0, 0, false},
    {"pilot growth", 0xCD360, 92, 176, 0, 1, 0, 14, false},
    {"pilot ace bonus", 0xCD360, 92, 176, 2, 2, 0, 59, false},
    {"pilot BGM set", 0xCD360, 92, 176, 24, 1, 0, 63, false},
    {"spirit duration", 0xC1160, 100, 33, 0, 1, 0, 6, false},
    {"spirit target", 0xC1160, 100, 33, 1, 1, 0, 3, false},
    {"spirit on others", 0xC1160, 100, 33, 2, 1, 0, 1, false},
    {"skill acquirable", 0xD13A0, 224, 36, 0, 1, 0, 1, false},
    {"skill has levels", 0xD13A0, 224, 36, 1, 1, 0, 1, false},
    {"skill type", 0xD13A0, 224, 36, 2, 1, 0, 4, false},
    {"part type", 0xC75B4, 168, 46, 0, 1, 0, 3, false},
    {"part terrain high byte", 0xC75B4, 168, 46, 9, 1, 0, 0, false},
    {"part jammer", 0xC75B4, 168, 46, 11, 1, 0, 1, false},
    {"part energy absorb", 0xC75B4, 168, 46, 13, 1, 0, 1, false},
    {"part recovery", 0xC75B4, 168, 46, 15, 1, 0, 7, false},
    {"ace spirit", 0xD6670, 88, 60, 16, 1, 0, 32, true},
    {"ace skill", 0xD6670, 88, 60, 18, 1, 0, 35, true},
    {"full terrain S", 0xCA034, 52, 50, 6, 1, 0, 1, false},
    {"full effect 1", 0xCA034, 52, 50, 8, 1, 0, 8, true},
    {"full effect 2", 0xCA034, 52, 50, 9, 1, 0, 8, true},
    {"full weapon terrain S", 0xCA034, 52, 50, 18, 1, 0, 1, false},
    {"trust pilot", 0xD5D00, 52, 44, 0, 2, 0, 175, false},
};

TEST(DemoRecords, FieldsLieWithinWhatTheEditorsShow) {
    for (const Field& f : kFields) {
        const uint32_t none = f.width == 1 ? 0xFF : 0xFFFF;
        for (int i = 0; i < f.count; ++i) {
            const uint32_t at = f.base + f.size * static_cast<uint32_t>(i) + f.offset;
            const uint32_t v = f.width == 1 ? At8(at) : At16(at);
            ASSERT_TRUE((v >= f.min && v <= f.max) || (f.none && v == none))
                << f.what << " of record " << i << " is " << v;
        }
    }
}

TEST(DemoRecords, SlotsTerrainAndFlagsAreEditable) {
    for (int i = 0; i < 176; ++i) {
        const auto n = static_cast<uint32_t>(i);
        EXPECT_EQ(At8(0xCD360 + 92 * n + 1) & 0x0E, 0u) << "pilot " << i << " sex bits 1-3";
        for (uint32_t s = 0; s < 6; ++s) {
            const uint32_t spirit = At8(0xC1E44 + 24 * n + s),
                           skill = At8(0xD3320 + 60 * n + 10 * s);
            EXPECT_TRUE(spirit <= 32 || spirit == 0xFF) << "pilot " << i;
            EXPECT_TRUE(skill <= 35 || skill == 0xFF) << "pilot " << i;
        }
    }
    const std::pair<uint32_t, uint32_t> terrains[] = {
        {0xC38C4 + 18, 150}, {0xD7CA0 + 28, 740}, {0xCD360 + 20, 176}};
    const uint32_t strides[] = {104, 64, 92};
    for (int t = 0; t < 3; ++t) {
        for (uint32_t i = 0; i < terrains[t].second; ++i) {
            const uint32_t word = At16(terrains[t].first + strides[t] * i);
            for (int shift = 0; shift < 16; shift += 4)
                ASSERT_LE(word >> shift & 0xF, 4u) << t << " " << i;
        }
    }
    for (uint32_t r = 0; r < 44; ++r) {
        for (uint32_t p = 0; p < 4; ++p) {
            const uint32_t page = 0xD5D00 + 52 * r + 4 + 12 * p;
            EXPECT_TRUE(At16(page) <= 3 || At16(page) == 0xFFFF);
            EXPECT_TRUE((At16(page + 2) >= 1 && At16(page + 2) <= 3) || At16(page + 2) == 0xFFFF);
            for (uint32_t k = 0; k < 4; ++k) {
                EXPECT_TRUE(At16(page + 4 + 2 * k) <= 175 || At16(page + 4 + 2 * k) == 0xFFFF);
            }
        }
    }
}

TEST(DemoRecords, ClassificationsHoldDistinctEntriesAndZeroesAfterTheCount) {
    struct Table {
        uint32_t base, size;
        int classes, capacity;
        uint32_t entries;
    };
    for (const Table t : {Table{0xD5C60, 32, 5, 12, 36}, Table{0xC93E4, 64, 4, 28, 46}}) {
        bool full = false;
        for (int c = 0; c < t.classes; ++c) {
            const uint32_t r = t.base + t.size * static_cast<uint32_t>(c);
            const uint32_t count = At32(r);
            ASSERT_LE(count, static_cast<uint32_t>(t.capacity));
            full = full || count == static_cast<uint32_t>(t.capacity);
            std::set<uint32_t> seen;
            for (uint32_t k = 0; k < static_cast<uint32_t>(t.capacity); ++k) {
                const uint32_t v = At16(r + 8 + 2 * k);
                if (k < count) {
                    EXPECT_LT(v, t.entries);
                    EXPECT_TRUE(seen.insert(v).second) << "entry twice in class " << c;
                } else {
                    EXPECT_EQ(v, 0u);
                }
            }
        }
        EXPECT_TRUE(full) << "one class is full, to show the capacity message";
    }
}

TEST(DemoRecords, BgmSetsIncludeAnEmptyOneAndSeveralTracks) {
    bool empty = false, several = false;
    for (uint32_t k = 0; k < 64; ++k) {
        int tracks = 0;
        for (uint32_t t = 0; t < 5; ++t) {
            const uint32_t number = At16(0xC0CE0 + 12 * k + 2 * t);
            EXPECT_LT(number, 54u);
            tracks += number != 0;
        }
        empty = empty || tracks == 0;
        several = several || tracks > 1;
    }
    EXPECT_TRUE(empty);
    EXPECT_TRUE(several);
}

class DemoPointerTest : public test::TableFixture {
protected:
    void SetUp() override {
        TableFixture::SetUp();
        WriteTable(demo::StringTable());
    }

    // Decodes a text that must end within 256 bytes; its length goes to *length.
    std::string Text(uint32_t offset, int* status, int* length = nullptr) {
        CTextCodec codec(Demo().data(), static_cast<uint32_t>(Demo().size()));
        std::string text;
        codec.Decode(text, Demo().data() + offset, 256);
        EXPECT_LE(codec.m_nLength, 256) << "no terminator at " << std::hex << offset;
        *status = codec.m_nStatus;
        if (length) *length = codec.m_nLength;
        return text;
    }
};

TEST_F(DemoPointerTest, ChapterDeploymentListsEndWithATerminatorAndHoldListedValues) {
    for (int n = 0; n < tsumugi::layout::chapter_title_record::kCount; ++n) {
        const uint32_t entry =
            tsumugi::layout::chapter_pointer_table::kBase + tsumugi::layout::chapter_pointer_table::kEntrySize * static_cast<uint32_t>(n);
        if (n == demo::kNoDeployChapter) {
            EXPECT_EQ(At32(entry), 0u) << "the chapter without deployments";
            continue;
        }
        const auto [from, to] = ChapterArea(n);
        const uint32_t list = PointerInto(entry, from, to);
        ASSERT_NE(list, 0u) << "chapter " << n;
        int k = 0;
        for (;; ++k) {
            const uint32_t r = list + tsumugi::layout::deploy_record::kSize * static_cast<uint32_t>(k);
            ASSERT_LT(k, 1000);
            ASSERT_LE(r + tsumugi::layout::deploy_record::kSize, to);
            if (At32(r) == 0xFFFFFFFF && At16(r + 4) == 0xFFFF && At16(r + 12) == 0xFFFF) break;
            EXPECT_LE(At8(r + 1), 3u);
            EXPECT_TRUE(At16(r + 2) < 150 || At16(r + 2) == 0xFFFF);
            EXPECT_TRUE(At16(r + 4) < 176 || At16(r + 4) == 0xFFFF);
            EXPECT_LE(At8(r + 7), 10u);
            EXPECT_LE(At8(r + 8), 10u);
            const uint32_t drop = At16(r + 18), kind = drop >> 12, item = drop & 0xFFF;
            EXPECT_TRUE(drop == 0xFFFF || (kind == 1 && item < 46) || (kind == 2 && item < 740))
                << drop;
        }
        EXPECT_EQ(k, demo::detail::DeployCount(n));
    }
}

TEST_F(DemoPointerTest, ChapterMessagesPointAtTheirTexts) {
    for (int n = 0; n < tsumugi::layout::chapter_title_record::kCount; ++n) {
        const uint32_t entry =
            tsumugi::layout::chapter_pointer_table::kBase + tsumugi::layout::chapter_pointer_table::kEntrySize * static_cast<uint32_t>(n);
        const auto [from, to] = ChapterArea(n);
        const uint32_t table = PointerInto(entry + 4, from, to);
        ASSERT_NE(table, 0u) << "chapter " << n;
        int m = 0;
        for (;; ++m) {
            const uint32_t r = table + tsumugi::layout::message_record::kSize * static_cast<uint32_t>(m);
            ASSERT_LT(m, 5000);
            if (At16(r) == 0xFFFF) break;
            EXPECT_LE(At8(r + 2), 2u);
            EXPECT_TRUE(At8(r + 3) < 176 || At8(r + 3) == 0xFF);
            const uint32_t kind = At8(r + 5), target = At8(r + 6), y = At8(r + 7);
            const bool pointsAt = kind == 0 || kind == 1 || kind == 0xFF;
            const uint32_t targets = kind == 0 ? 176 : kind == 1 ? 150 : 1;
            EXPECT_TRUE(!pointsAt || (target < targets && y == 0))
                << "chapter " << n << " message " << m;
            EXPECT_TRUE(kind <= 3 || kind == 0xFF);
            const uint32_t text = PointerInto(r + 8, from, to);
            ASSERT_NE(text, 0u) << "chapter " << n << " message " << m;
            int status = -1;
            const std::string decoded = Text(text, &status);
            const std::string expected = demo::detail::MessageText(n, m);
            if (n == demo::kLockedChapter && m == demo::kLockedMessage) {
                EXPECT_EQ(status, 1);
                EXPECT_EQ(decoded, expected + Sj("・"));
            } else {
                EXPECT_EQ(status, 0);
                EXPECT_EQ(decoded, expected) << "chapter " << n << " message " << m;
            }
        }
        EXPECT_EQ(m, demo::detail::MessageCount(n));
    }
    const uint32_t table =
        At32(tsumugi::layout::chapter_pointer_table::kBase +
             tsumugi::layout::chapter_pointer_table::kEntrySize * demo::detail::kSharedTextChapter + 4) -
        kBusBase;
    EXPECT_EQ(At32(table + tsumugi::layout::message_record::kSize * demo::detail::kSharedTextMessage + 8),
              At32(table + tsumugi::layout::message_record::kSize * demo::detail::kSharedTextWith + 8));
}

TEST_F(DemoPointerTest, BattleLinesLieInTheirAreasWithRoomForTheirTexts) {
    std::vector<uint32_t> tables;
    for (uint32_t p = 0; p < tsumugi::layout::pilot_record::kCount; ++p) {
        const uint32_t header = PointerInto(tsumugi::layout::battle_tables::kPointerTable + 4 * p,
                                            tsumugi::layout::battle_tables::kTableStart, tsumugi::layout::battle_tables::kPointerTable);
        ASSERT_NE(header, 0u);
        tables.push_back(
            PointerInto(header + 4, tsumugi::layout::battle_tables::kTableStart, tsumugi::layout::battle_tables::kPointerTable));
    }
    for (uint32_t p = 0; p < tsumugi::layout::pilot_record::kCount; ++p) {
        const uint32_t header = At32(tsumugi::layout::battle_tables::kPointerTable + 4 * p) - kBusBase;
        const uint32_t base = PointerInto(header, tsumugi::layout::battle_tables::kTextStart, tsumugi::layout::battle_tables::kTextEnd);
        const uint32_t end =
            PointerInto(header + 16, tsumugi::layout::battle_tables::kTextStart, tsumugi::layout::battle_tables::kTextEnd + 1);
        ASSERT_NE(base, 0u);
        ASSERT_GT(end, base);
        uint32_t tableEnd = tsumugi::layout::battle_tables::kPointerTable;
        for (const uint32_t t : tables) {
            if (t > tables[p]) tableEnd = std::min(tableEnd, t);
        }
        const uint32_t lines = (tableEnd - tables[p]) / tsumugi::layout::battle_line_record::kSize;
        ASSERT_EQ(lines, static_cast<uint32_t>(demo::detail::BattleLineCount(static_cast<int>(p))));
        std::vector<uint32_t> offsets;
        for (uint32_t j = 0; j < lines; ++j) offsets.push_back(At16(tables[p] + 4 * j + 2));
        for (uint32_t j = 0; j < lines; ++j) {
            const uint32_t r = tables[p] + 4 * j;
            EXPECT_TRUE(At8(r) < 176 || At8(r) == 0xFF);
            uint32_t room = end - base;
            for (const uint32_t o : offsets) {
                if (o > offsets[j]) room = std::min(room, o);
            }
            room -= offsets[j];
            int status = -1, length = 0;
            const std::string text = Text(base + offsets[j], &status, &length);
            EXPECT_LT(room, 256u);
            EXPECT_LE(static_cast<uint32_t>(length), room) << "pilot " << p << " line " << j;
            const std::string expected =
                demo::detail::BattleLineText(static_cast<int>(p), static_cast<int>(j));
            if (static_cast<int>(p) == demo::kLockedBattlePilot &&
                static_cast<int>(j) == demo::kLockedBattleLine) {
                EXPECT_EQ(status, 1);
                EXPECT_EQ(text, expected + Sj("・"));
            } else {
                EXPECT_EQ(status, 0);
                EXPECT_EQ(text, expected) << "pilot " << p << " line " << j;
            }
        }
    }
}

TEST_F(DemoPointerTest, SpiritInitialsAreTheFirstCharacterOfTheName) {
    for (uint32_t i = 0; i < 33; ++i) {
        const uint32_t r = 0xC1160 + 100 * i;
        const uint32_t initial = At16(r + 4);
        int status = -1;
        const std::string name = Text(r + 6, &status);
        if (initial == 0) continue;
        const uint8_t bytes[4] = {static_cast<uint8_t>(initial), static_cast<uint8_t>(initial >> 8),
                                  0xFF, 0x00};
        CTextCodec codec(Demo().data(), static_cast<uint32_t>(Demo().size()));
        std::string first;
        codec.Decode(first, bytes, 2);
        EXPECT_EQ(first, name.substr(0, 2)) << i;
    }
}

}  // namespace
}  // namespace tsumugi

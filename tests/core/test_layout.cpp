// The table descriptors against themselves, the region table and the demo ROM.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "core/demo_image.h"
#include "core/layout/descriptor.h"
#include "core/regions.h"
#include "demo/rom.h"

namespace {

using namespace tsumugi::layout;

std::string Where(const Table& table, const Field& field) {
    return std::string(table.name) + " / " + field.label;
}

// The bits of the record a field owns, as a mask per byte (the ROM is little-endian).
std::vector<std::pair<uint32_t, uint8_t>> OwnedBits(const Field& field) {
    std::vector<std::pair<uint32_t, uint8_t>> owned;
    if (field.bits == 0) {
        for (uint32_t b = 0; b < field.width; ++b) owned.emplace_back(field.offset + b, 0xFF);
        return owned;
    }
    for (int bit = field.shift; bit < field.shift + field.bits; ++bit) {
        owned.emplace_back(field.offset + static_cast<uint32_t>(bit / 8),
                           static_cast<uint8_t>(1u << (bit % 8)));
    }
    return owned;
}

TEST(Layout, EveryTableIsFoundByItsOwnName) {
    constexpr const char* kNames[] = {"units",   "pilots",       "pilot-spirits", "pilot-skills",
                                      "weapons", "spirits",      "skills",        "skill-classes",
                                      "parts",   "part-classes", "ace-bonuses",   "full-bonuses",
                                      "trusts"};
    EXPECT_EQ(Tables().size(), std::size(kNames));
    for (const char* name : kNames) EXPECT_NE(FindTable(name), nullptr) << name;
    for (const Table& table : Tables()) EXPECT_EQ(FindTable(table.name), &table) << table.name;
    EXPECT_EQ(FindTable("unit"), nullptr);
}

TEST(Layout, FieldsLieInTheirRecordAndOwnDistinctBits) {
    for (const Table& table : Tables()) {
        std::vector<uint8_t> claimed(table.size, 0);
        std::set<std::string> labels;
        for (const Field& field : table.fields) {
            SCOPED_TRACE(Where(table, field));
            EXPECT_GT(std::string(field.label).size(), 0u);
            EXPECT_TRUE(labels.insert(field.label).second) << "label used twice";
            ASSERT_LE(field.offset + field.width, table.size);
            if (field.kind != FieldKind::Text) {
                EXPECT_TRUE(field.width == 1 || field.width == 2 || field.width == 4);
            }
            EXPECT_LE(field.shift + field.bits, 8 * field.width);
            if (field.kind == FieldKind::Reference) {
                EXPECT_GT(CountOf(field.refers), 0);
            }
            for (const auto& [at, mask] : OwnedBits(field)) {
                EXPECT_EQ(claimed[at] & mask, 0) << "overlaps at byte " << at;
                claimed[at] |= mask;
            }
        }
    }
}

TEST(Layout, EveryTableLiesInARegionOfItsCategory) {
    for (const Table& table : Tables()) {
        const bool inside = std::any_of(
            tsumugi::kRegionTable.begin(), tsumugi::kRegionTable.end(), [&](const auto& region) {
                return region.category == table.category && region.offset <= table.base &&
                       table.End() <= region.offset + region.length;
            });
        EXPECT_TRUE(inside) << table.name;
    }
}

TEST(Layout, DemoRomHoldsOnlyValuesTheEditorsShow) {
    const std::vector<uint8_t> rom = tsumugi::testing::DemoImage();
    for (const Table& table : Tables()) {
        ASSERT_LE(table.End(), rom.size()) << table.name;
        for (const Field& field : table.fields) {
            const bool reference = field.kind == FieldKind::Reference;
            if (!reference && field.kind != FieldKind::Choice && field.kind != FieldKind::Number) {
                continue;
            }
            const int64_t last = reference ? CountOf(field.refers) - 1 : MaxOf(field);
            for (int r = 0; r < table.count; ++r) {
                const int64_t value = ReadField(
                    field, rom.data() + table.base + table.size * static_cast<uint32_t>(r));
                EXPECT_TRUE(value <= last || value == field.none)
                    << Where(table, field) << " of record " << r << " holds " << value;
            }
        }
    }
}

// Writing a bit field changes its bits alone, whatever else the bytes hold.
TEST(Layout, WritingABitFieldKeepsTheOtherBits) {
    struct Case {
        const char* table;
        const char* label;
        uint32_t value;
    };
    constexpr Case kCases[] = {
        {"units", "陸", 4},             // a rank in the high byte of a word
        {"units", "宇", 0},             // a rank in the low nibble
        {"units", "移動タイプ 海", 0},  // a move-type bit cleared
        {"pilots", "性格", 9},          // the high nibble of a byte
        {"parts", "宇A", 1},            // a terrain bit of a 16-bit word
        {"parts", "弾数回復", 0},       // a recovery bit cleared
    };
    for (const Case& c : kCases) {
        const Table* table = FindTable(c.table);
        ASSERT_NE(table, nullptr);
        const auto field =
            std::find_if(table->fields.begin(), table->fields.end(),
                         [&](const Field& f) { return std::string(f.label) == c.label; });
        ASSERT_NE(field, table->fields.end()) << c.label;
        SCOPED_TRACE(Where(*table, *field));
        ASSERT_NE(field->bits, 0);
        for (const uint8_t fill : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0xA5}}) {
            std::vector<uint8_t> record(table->size, fill);
            WriteField(*field, record.data(), c.value);
            EXPECT_EQ(ReadField(*field, record.data()), c.value);
            std::vector<uint8_t> expected(table->size, fill);
            for (const auto& [at, mask] : OwnedBits(*field)) {
                expected[at] = static_cast<uint8_t>((expected[at] & ~mask) | (record[at] & mask));
            }
            EXPECT_EQ(record, expected);
        }
    }
}

}  // namespace

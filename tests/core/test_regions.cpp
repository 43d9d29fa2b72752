#include <gtest/gtest.h>

#include "core/regions.h"

namespace tsumugi {
namespace {

TEST(WritableForTest, InsideOneRegionOfTheCategoryOrPastSixteenMebibytes) {
    constexpr uint32_t kStart = layout::scenario_area::kStart, kEnd = layout::scenario_area::kEnd;
    constexpr uint32_t kLong = 0x1010000, kShort = 0x1000000;
    struct Case {
        int category;
        uint32_t offset, length, romSize;
        bool writable;
    };
    const Case cases[] = {
        {category::kScenario, kStart, 20, kLong, true},
        {category::kScenario, kEnd - 20, 20, kLong, true},
        {category::kScenario, kEnd - 19, 20, kLong, false},  // runs over the region's end
        {category::kScenario, kStart - 1, 20, kLong, false},
        {category::kScenario, kEnd, 20, kLong, false},       // the chapter pointer table
        {category::kScenario, 0x100, 20, kLong, false},
        {category::kUnit, kStart, 20, kLong, false},          // another category's region
        {category::kScenario, 0x1000000, 20, kLong, true},    // the extension area
        {category::kScenario, kLong - 20, 20, kLong, true},
        {category::kScenario, kLong - 19, 20, kLong, false},  // past the image
        {category::kScenario, 0x1000000, 20, kShort, false},
        {category::kScenario, 0xFFFFFFF0, 0x20, kLong, false},  // no wrap-around
        {category::kScenario, 0xFFFFF0, 0x20, kLong, false},    // straddles 16 MiB
        {category::kBattleLine, layout::battle_tables::kTableStart, 8, kLong, true},
        {category::kBattleLine, layout::battle_tables::kTextStart, 8, kLong, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WritableFor(c.category, c.offset, c.length, c.romSize), c.writable)
            << c.category << " " << std::hex << c.offset << " +" << c.length;
    }
}

}  // namespace
}  // namespace tsumugi

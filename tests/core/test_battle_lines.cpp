// The battle dialogue's pointer structures read without trusting the ROM: pointer
// validity, where each line table ends, each text's room, and pilots whose pointers,
// tables or texts lie past the image's end.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <vector>

#include "core/demo_image.h"
#include "core/battle_lines.h"
#include "core/bytes.h"
#include "core/layout/battle.h"
#include "demo/data.h"
#include "demo/rom.h"

namespace tsumugi {
namespace {

constexpr uint32_t kPointerTable = layout::battle_tables::kPointerTable;
constexpr int kPilots = layout::battle_tables::kPilotCount;

TEST(BattlePointerTest, OnlyTheThirtyTwoMebibytesFromTheBusBaseAreValid) {
    const struct {
        uint32_t pointer;
        std::optional<uint32_t> offset;
    } cases[] = {
        {0x08000000, 0u},           {0x08F2D5C4, 0xF2D5C4u}, {0x09FFFFFF, 0x1FFFFFFu},
        {0x0A000000, std::nullopt}, {0x07FFFFFF, std::nullopt}, {0x00000000, std::nullopt},
        {0xFFFFFFFF, std::nullopt}, {0x00F2D5C4, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(BattlePointerOffset(c.pointer), c.offset) << std::hex << c.pointer;
}

TEST(BattleTextRoomTest, RoomRunsToTheNextTextOrTheBlockEnd) {
    const std::vector<uint16_t> spaced = {100, 112, 140};
    const std::vector<uint16_t> shared = {0, 0, 30};
    const std::vector<uint16_t> wide = {0, 400};
    const struct {
        uint16_t block;
        const std::vector<uint16_t>* offsets;
        uint16_t own;
        std::optional<uint32_t> room;
    } cases[] = {
        {200, &spaced, 100, 12u},           // o: up to o + 12
        {200, &spaced, 112, 28u},           // o + 12: up to o + 40
        {200, &spaced, 140, 60u},           // o + 40: up to the block's end
        {140, &spaced, 140, std::nullopt},  // the text starts at the block's end
        {120, &spaced, 140, std::nullopt},  // or past it
        {60, &shared, 0, 30u},              // two lines sharing a text share its room
        {500, &wide, 0, std::nullopt},      // 256 bytes or more: never stored
        {255, &wide, 0, 255u},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextRoom(c.block, *c.offsets, c.own), c.room) << c.block << " " << c.own;
    }
}

// The rooms of all lines at once are each line's room, for offsets close together (many
// shared and neighbouring texts) or far apart, and blocks short, long or past 16 bits.
TEST(BattleTextRoomTest, AllRoomsAtOnceAreEachLinesRoom) {
    std::mt19937 rng(21);
    for (int round = 0; round < 200; ++round) {
        const int count = 1 + static_cast<int>(rng() % 64);
        const uint32_t spread = round % 2 ? 0x10000 : 400;
        std::vector<uint8_t> rom(4 * static_cast<size_t>(count));
        for (int j = 0; j < count; ++j)
            Write16(rom.data() + 4 * j + layout::battle_line_record::kTextOffset, static_cast<uint16_t>(rng() % spread));
        BattlePilot pilot;
        pilot.lineCount = count;
        pilot.textBase = 0x100;
        pilot.textEnd = pilot.textBase + rng() % (2 * spread);
        const std::vector<std::optional<uint32_t>> rooms = LineRooms(rom.data(), pilot);
        ASSERT_EQ(rooms.size(), static_cast<size_t>(count));
        for (int j = 0; j < count; ++j) EXPECT_EQ(rooms[static_cast<size_t>(j)], LineRoom(rom.data(), pilot, j));
    }
}

// A zeroed image with the pilot pointer table, headers and line tables placed by hand.
class BattleStructureTest : public ::testing::Test {
protected:
    static constexpr uint32_t kHeaders = layout::battle_tables::kTableStart;
    static constexpr uint32_t kTexts = layout::battle_tables::kTextStart;

    std::vector<uint8_t> rom = std::vector<uint8_t>(0x1000000, 0x00);

    uint32_t Header(int p) const { return kHeaders + 20 * static_cast<uint32_t>(p); }
    void PutPointer(uint32_t at, uint32_t offset) { Write32(rom.data() + at, offset + kBusBase); }
    // Every pilot: its header, a text block of 64 bytes, and one line table in a row;
    // each line's text offset is 8 times its number.
    void SetUpPilots(const std::vector<uint32_t>& tables) {
        for (int p = 0; p < kPilots; ++p) {
            PutPointer(kPointerTable + 4 * static_cast<uint32_t>(p), Header(p));
            PutPointer(Header(p) + 0, kTexts + 64 * static_cast<uint32_t>(p));
            PutPointer(Header(p) + 4, tables[static_cast<size_t>(p) % tables.size()]);
            PutPointer(Header(p) + 16, kTexts + 64 * static_cast<uint32_t>(p) + 64);
        }
        for (uint32_t t : tables) {
            for (uint32_t j = 0; t + 4 * j < kPointerTable && j < 8; ++j) {
                Write16(rom.data() + t + 4 * j + 2, static_cast<uint16_t>(8 * j));
            }
        }
    }
    BattlePilot Read(int p) const { return ReadBattlePilot(rom.data(), static_cast<uint32_t>(rom.size()), p); }
};

TEST_F(BattleStructureTest, EachTableEndsAtTheNextTableOfAnyPilot) {
    // Tables placed out of order: 0x..100 is followed by 0x..10C, which by the last one.
    const uint32_t last = kPointerTable - 16;
    SetUpPilots({0xF2C10C, 0xF2C100, last, 0xF2C11A});
    const struct {
        int pilot;
        int lines;
    } cases[] = {
        {1, 3},  // 12 bytes up to the next table
        {0, 4},  // 14 bytes: the record that starts before the next table counts
        {3, (last - 0xF2C11A + 3) / 4},
        {2, 4},  // the last table runs to the pointer table
        {6, 4},  // a pilot sharing pilot 2's table lists the same lines
    };
    for (const auto& c : cases) {
        const BattlePilot pilot = Read(c.pilot);
        EXPECT_EQ(pilot.fault, BattleFault::None) << c.pilot;
        EXPECT_EQ(pilot.lineCount, c.lines) << c.pilot;
    }
    EXPECT_EQ(Read(0).lineTable, 0xF2C10Cu);
    EXPECT_EQ(LineTableEnd(rom.data(), static_cast<uint32_t>(rom.size()), 0xF2C100), 0xF2C10Cu);
}

TEST_F(BattleStructureTest, UnreadableHeadersDoNotEndATable) {
    SetUpPilots({0xF2C100});
    // Pilot 1's table would end pilot 0's, but its header cannot be followed.
    PutPointer(Header(1) + 4, 0xF2C108);
    Write32(rom.data() + kPointerTable + 4, 0x0A000000);
    // Pilot 2's header lies at the very end of the image: its table field is past it.
    PutPointer(kPointerTable + 8, static_cast<uint32_t>(rom.size()) - 2);
    EXPECT_EQ(Read(0).lineCount, int((kPointerTable - 0xF2C100) / 4));
    // A table past the pointer table with no table after it has no lines.
    PutPointer(Header(0) + 4, 0xF2D900);
    EXPECT_EQ(Read(0).fault, BattleFault::None);
    EXPECT_EQ(Read(0).lineCount, 0);
}

TEST_F(BattleStructureTest, PointersTablesAndTextsPastTheImageAreNotFollowed) {
    SetUpPilots({0xF2C100});
    const struct {
        const char* what;
        uint32_t at;
        uint32_t value;  // a bus address or an invalid pointer
        BattleFault fault;
    } cases[] = {
        {"header pointer zero", kPointerTable + 4 * 5, 0, BattleFault::BadPointer},
        {"header pointer past 32 MiB", kPointerTable + 4 * 5, 0x0A000010, BattleFault::BadPointer},
        {"header past the image", kPointerTable + 4 * 5, 0x09000000, BattleFault::PastImage},
        {"header running past the image", kPointerTable + 4 * 5, 0x08FFFFF0, BattleFault::PastImage},
        {"text base invalid", 0, 0x07000000, BattleFault::BadPointer},
        {"line table invalid", 4, 0x0A000000, BattleFault::BadPointer},
        {"text end invalid", 16, 0x00000001, BattleFault::BadPointer},
        {"line table past the image", 4, 0x09000000, BattleFault::None},  // no lines: ends before
        {"texts past the image", 0, 0x08FFFFF8, BattleFault::PastImage},  // offsets 8.. are past
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> saved = rom;
        Write32(rom.data() + (c.at >= kPointerTable ? c.at : Header(5) + c.at), c.value);
        const BattlePilot pilot = Read(5);
        EXPECT_EQ(pilot.fault, c.fault) << c.what;
        if (c.fault != BattleFault::None) {
            EXPECT_EQ(pilot.lineCount, 0) << c.what;
        }
        rom = saved;
    }
    EXPECT_EQ(Read(-1).fault, BattleFault::PastImage);
    EXPECT_EQ(Read(kPilots).fault, BattleFault::PastImage);
}

TEST_F(BattleStructureTest, TableRunningIntoTheImagesEndListsNothing) {
    rom.resize(0x1000100, 0x00);  // an extension area past 16 MiB
    SetUpPilots({0xF2C100});
    PutPointer(Header(0) + 4, 0x1000080);
    PutPointer(Header(1) + 4, 0x1000200);  // ends pilot 0's table past the image
    EXPECT_EQ(Read(0).fault, BattleFault::PastImage);
    EXPECT_EQ(Read(0).lineCount, 0);
    PutPointer(Header(1) + 4, 0x1000100);  // ends it exactly at the image's end
    EXPECT_EQ(Read(0).fault, BattleFault::None);
    EXPECT_EQ(Read(0).lineCount, 32);
    // The pointer table itself past a short image.
    PutPointer(Header(0) + 4, 0xF2C100);
    PutPointer(Header(1) + 4, 0xF2C100);
    rom.resize(kPointerTable + 4 * 3);
    EXPECT_EQ(Read(2).fault, BattleFault::None);
    EXPECT_EQ(Read(3).fault, BattleFault::PastImage);
}

// Text offsets are 16-bit: a damaged line-table pointer far below the next table is read
// for 0x10000 lines at most, and says so.
TEST_F(BattleStructureTest, ATableSeemingToRunOnIsCutAtTheMostLinesATextOffsetReaches) {
    SetUpPilots({0xF2C100});
    PutPointer(Header(0) + 4, 0x100000);
    const tsumugi::BattlePilot pilot = Read(0);
    EXPECT_EQ(pilot.fault, BattleFault::None);
    EXPECT_EQ(pilot.lineCount, 0x10000);
    EXPECT_TRUE(pilot.capped);
    EXPECT_FALSE(Read(1).capped);
}

TEST_F(BattleStructureTest, RoomOfALineUsesTheBlockLengthKeptToSixteenBits) {
    SetUpPilots({0xF2C100});
    const BattlePilot pilot = Read(0);
    ASSERT_GE(pilot.lineCount, 3);
    EXPECT_EQ(LineText(rom.data(), pilot, 2), kTexts + 16);
    EXPECT_EQ(LineRoom(rom.data(), pilot, 0), 8u);
    // The last listed text runs to the block's end.
    EXPECT_EQ(LineRoom(rom.data(), pilot, 7), 64u - 56u);
    // A block end 0x10000 + 40 bytes on keeps 40: texts past it have no room.
    PutPointer(Header(0) + 16, kTexts + 0x10000 + 40);
    const BattlePilot wrapped = Read(0);
    EXPECT_EQ(LineRoom(rom.data(), wrapped, 4), 8u);
    EXPECT_EQ(LineRoom(rom.data(), wrapped, 5), std::nullopt);
    EXPECT_EQ(LineRoom(rom.data(), wrapped, -1), std::nullopt);
    EXPECT_EQ(LineRoom(rom.data(), wrapped, wrapped.lineCount), std::nullopt);
}

TEST(BattleDemoTest, EveryDemoPilotListsItsLinesInPackedTables) {
    const std::vector<uint8_t> rom = testing::DemoImage();
    int adjacent = 0;
    for (int p = 0; p < kPilots; ++p) {
        const BattlePilot pilot = ReadBattlePilot(rom.data(), static_cast<uint32_t>(rom.size()), p);
        ASSERT_EQ(pilot.fault, BattleFault::None) << p;
        EXPECT_EQ(pilot.lineCount, demo::detail::BattleLineCount(p)) << p;
        const uint32_t end = LineTableEnd(rom.data(), static_cast<uint32_t>(rom.size()), pilot.lineTable);
        if (end != kPointerTable) ++adjacent;
        for (int j = 0; j < pilot.lineCount; ++j) EXPECT_TRUE(LineRoom(rom.data(), pilot, j).has_value()) << p;
    }
    EXPECT_EQ(adjacent, kPilots - 1);
}

}  // namespace
}  // namespace tsumugi

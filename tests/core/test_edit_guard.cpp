#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "core/bytes.h"
#include "core/edit_guard.h"

namespace tsumugi {
namespace {

constexpr uint32_t k16MiB = 0x1000000;

using CodeVector = std::vector<std::pair<uint32_t, uint16_t>>;

// A ROM image in memory of the given size; the guard only needs the buffer and length.
class EditGuardTest : public ::testing::Test {
protected:
    void MakeRom(uint32_t size) {
        bytes.assign(size, 0);
        for (uint32_t i = 0; i < size; i += 97) bytes[i] = static_cast<uint8_t>(i >> 3);
        rom.m_pData = bytes.data();
        rom.m_nSize = size;
    }
    CodeVector Codes() const { return {codes.begin(), codes.end()}; }

    std::vector<uint8_t> bytes;
    RomImage rom;
    EditGuard guard;
    PatchCodeList codes;
};

TEST_F(EditGuardTest, CancelLeavesTheBufferByteIdenticalWithExtension) {
    MakeRom(k16MiB + 0x1001);
    const std::vector<uint8_t> before = bytes;
    ASSERT_EQ(guard.Begin(rom, category::kScenario), EditGuard::BeginResult::Ok);
    EXPECT_TRUE(guard.HasExtension());
    bytes[0x26B840] ^= 0xFF;             // first byte of the scenario data
    bytes[0x26B840 + 1614935] ^= 0xFF;  // its last byte
    bytes[k16MiB] ^= 0xFF;
    bytes[k16MiB + 0x1000] ^= 0xFF;     // the odd last byte of the ROM
    guard.Restore();
    EXPECT_TRUE(bytes == before);
}

TEST_F(EditGuardTest, OkWithoutChangesAddsNoCode) {
    MakeRom(k16MiB + 2);
    ASSERT_EQ(guard.Begin(rom, category::kUnit), EditGuard::BeginResult::Ok);
    guard.Commit(codes);
    EXPECT_TRUE(codes.Empty());
}

TEST_F(EditGuardTest, Exactly16MiBHasNoExtension) {
    MakeRom(k16MiB);
    ASSERT_EQ(guard.Begin(rom, category::kUnit), EditGuard::BeginResult::Ok);
    EXPECT_FALSE(guard.HasExtension());
}

TEST_F(EditGuardTest, TwoBytesPast16MiBAreComparedForAnyCategory) {
    MakeRom(k16MiB + 2);
    ASSERT_EQ(guard.Begin(rom, category::kSpirit), EditGuard::BeginResult::Ok);
    ASSERT_TRUE(guard.HasExtension());
    bytes[k16MiB] = 0x34;
    bytes[k16MiB + 1] = 0x12;
    bytes[0xC1160 + 3] = 0x77;  // inside the spirit command table
    guard.Commit(codes);
    EXPECT_EQ(Codes(), (CodeVector{{0xC1162, static_cast<uint16_t>(0x7700 | bytes[0xC1162])},
                                   {k16MiB, 0x1234}}));
}

TEST_F(EditGuardTest, BattleDialogueGuardsBothBlocksInTableOrder) {
    const std::vector<DataRegion> regions = RegionsOf(category::kBattleLine);
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0].offset, 0x9DBD4Cu);
    EXPECT_EQ(regions[0].length, 262188u);
    EXPECT_EQ(regions[1].offset, 0xF2115Cu);
    EXPECT_EQ(regions[1].length, 50280u);

    MakeRom(k16MiB);
    const std::vector<uint8_t> before = bytes;
    ASSERT_EQ(guard.Begin(rom, category::kBattleLine), EditGuard::BeginResult::Ok);
    EXPECT_EQ(guard.RegionCount(), 2u);
    bytes[0x9DBD4C + 262187] = 0xAB;
    bytes[0xF2115C] = 0xCD;
    bytes[0xF2115C - 2] = 0xEF;  // outside both blocks: neither recorded nor undone
    guard.Commit(codes);
    EXPECT_EQ(Codes(), (CodeVector{{0x9DBD4C + 262186,
                                    static_cast<uint16_t>(0xAB00 | before[0x9DBD4C + 262186])},
                                   {0xF2115C, static_cast<uint16_t>(before[0xF2115D] << 8 | 0xCD)}}));
}

// A code read from a code file may sit at an odd offset and share a byte with a word the
// editor changes, also across the start of a region or the border of two tables. OK
// hands it the changed byte, so every code carries what the buffer holds.
TEST_F(EditGuardTest, CommitHandsChangedBytesToOverlappingCodes) {
    struct Case {
        const char* name;
        uint32_t fileCode;
        uint32_t changed;  // the byte the editor changes
        uint32_t word;     // the word the editor's code is for
        int category;
    };
    const Case cases[] = {
        {"its high byte", 0xC38C5, 0xC38C6, 0xC38C6, category::kUnit},
        {"its low byte", 0xC38C5, 0xC38C5, 0xC38C4, category::kUnit},
        {"code reaching into the region from below", 0xC38C3, 0xC38C4, 0xC38C4, category::kUnit},
        {"across two tables, the later edited", 0xD5CFF, 0xD5D00, 0xD5D00, category::kTrust},
        {"across two tables, the earlier edited", 0xD5CFF, 0xD5CFF, 0xD5CFE, category::kSkillClass},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeRom(k16MiB);
        codes.Clear();
        codes.Set(c.fileCode, Read16(&bytes[c.fileCode]));
        ASSERT_EQ(guard.Begin(rom, c.category), EditGuard::BeginResult::Ok);
        bytes[c.changed] ^= 0x5A;
        guard.Commit(codes);
        CodeVector expected = {{c.fileCode, Read16(&bytes[c.fileCode])},
                               {c.word, Read16(&bytes[c.word])}};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Codes(), expected);
    }
}

TEST_F(EditGuardTest, RefusesNoRomAndARomEndingInsideARegion) {
    EXPECT_EQ(guard.Begin(rom, category::kUnit), EditGuard::BeginResult::NoRom);
    MakeRom(0x3F5C97);  // one byte short of the end of the scenario data
    EXPECT_EQ(guard.Begin(rom, category::kScenario), EditGuard::BeginResult::RomTooShort);
    EXPECT_EQ(guard.RegionCount(), 0u);
    EXPECT_EQ(guard.Begin(rom, category::kUnit), EditGuard::BeginResult::Ok);
}

}  // namespace
}  // namespace tsumugi

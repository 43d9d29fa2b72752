// IPS patches: codes and byte diffs round trip, runs, truncation, the offset that reads as
// "EOF", the 16 MiB reach, long changes split into records, and damaged patches.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/bytes.h"
#include "core/ips.h"
#include "core/patch_target.h"
#include "temp_dir.h"

namespace tsumugi {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

PatchOutcome Apply(const std::vector<uint8_t>& patch, const std::vector<uint8_t>& source) {
    return ApplyIps(patch.data(), patch.size(), source.data(), source.size());
}

PatchOutcome Diff(const std::vector<uint8_t>& source, const std::vector<uint8_t>& target) {
    return MakeIps(source.data(), source.size(), target.data(), target.size());
}

// The offset and length of every record of a well-formed patch.
std::vector<std::pair<uint32_t, uint32_t>> Records(const std::vector<uint8_t>& patch) {
    std::vector<std::pair<uint32_t, uint32_t>> records;
    size_t pos = 5;
    while (pos + 3 <= patch.size() &&
           !(patch[pos] == 'E' && patch[pos + 1] == 'O' && patch[pos + 2] == 'F')) {
        const uint32_t offset = (patch[pos] << 16) | (patch[pos + 1] << 8) | patch[pos + 2];
        uint32_t length = (patch[pos + 3] << 8) | patch[pos + 4];
        pos += 5;
        const bool run = length == 0;
        if (run) length = (patch[pos] << 8) | patch[pos + 1];
        pos += run ? 3 : length;
        records.emplace_back(offset, length);
    }
    return records;
}

TEST(IpsPatch, CodesRoundTripAndCarryEveryCodedByte) {
    const std::vector<uint8_t> rom = testing::TitledRom(0x400);
    const struct {
        const char* name;
        std::vector<std::pair<uint32_t, uint16_t>> codes;
        std::vector<std::pair<uint32_t, uint32_t>> records;
    } kCases[] = {
        {"inside", {{0x10, 0x1234}, {0x12, 0x5678}, {0x300, 0xFFFF}}, {{0x10, 4}, {0x300, 2}}},
        {"a code equal to the ROM still travels", {{0x20, Read16(rom.data() + 0x20)}}, {{0x20, 2}}},
        {"lengthening: the filler is data", {{0x3FF, 0xAB01}, {0x800, 0xBEEF}}, {{0x3FF, 0x403}}},
    };
    for (const auto& c : kCases) {
        PatchCodeList codes;
        for (const auto& [offset, value] : c.codes) codes.Set(offset, value);
        const PatchOutcome patch =
            MakePatchFromCodes(PatchFormat::Ips, rom.data(), rom.size(), codes);
        ASSERT_TRUE(patch.Ok()) << c.name << ": " << patch.reason;
        EXPECT_EQ(Records(patch.bytes), c.records) << c.name;
        const PatchOutcome applied =
            ApplyPatch(patch.bytes.data(), patch.bytes.size(), rom.data(), rom.size(), false);
        ASSERT_TRUE(applied.Ok()) << c.name << ": " << applied.reason;
        EXPECT_EQ(applied.bytes, ApplyCodesExtending(rom.data(), rom.size(), codes)) << c.name;
    }
}

TEST(IpsPatch, DiffsRoundTripLongerShorterAndSplitIntoRecords) {
    const std::vector<uint8_t> rom = testing::TitledRom(0x30000);
    std::vector<uint8_t> longChange = rom;
    for (size_t i = 0x100; i < 0x100 + 0x20000; ++i) longChange[i] ^= 0xFF;
    std::vector<uint8_t> longer = rom;
    longer.resize(0x30010, 0x00);
    std::vector<uint8_t> shorter(rom.begin(), rom.begin() + 0x1000);
    shorter[0x10] ^= 1;
    const struct {
        const char* name;
        std::vector<uint8_t> target;
        std::vector<std::pair<uint32_t, uint32_t>> records;
        bool truncates;
    } kCases[] = {
        {"unchanged", rom, {}, false},
        {"a change longer than a record",
         longChange,
         {{0x100, 0xFFFF}, {0x100FF, 0xFFFF}, {0x200FE, 2}},
         false},
        {"longer: zero filler is written too", longer, {{0x30000, 0x10}}, false},
        {"shorter: cut after EOF", shorter, {{0x10, 1}}, true},
    };
    for (const auto& c : kCases) {
        const PatchOutcome patch = Diff(rom, c.target);
        ASSERT_TRUE(patch.Ok()) << c.name << ": " << patch.reason;
        EXPECT_EQ(Records(patch.bytes), c.records) << c.name;
        const std::vector<uint8_t> tail(patch.bytes.end() - 3, patch.bytes.end());
        EXPECT_EQ(tail != Bytes("EOF"), c.truncates) << c.name;
        const PatchOutcome applied = Apply(patch.bytes, rom);
        ASSERT_TRUE(applied.Ok()) << c.name << ": " << applied.reason;
        EXPECT_EQ(applied.bytes, c.target) << c.name;
    }
}

TEST(IpsPatch, HandMadeRunsTruncationAndGaps) {
    const std::string source = "ABCDEFGH";
    const struct {
        const char* name;
        std::string patch, target;
    } kCases[] = {
        {"a run", std::string("PATCH\0\0\x02\0\0\0\x03Z", 13) + "EOF", "ABZZZFGH"},
        {"a run lengthening the image", std::string("PATCH\0\0\x06\0\0\0\x04*", 13) + "EOF",
         "ABCDEF****"},
        {"data then a cut", std::string("PATCH\0\0\x01\0\x02xyEOF\0\0\x04", 18), "AxyD"},
        {"a cut to nothing", std::string("PATCHEOF\0\0\0", 11), ""},
        {"records past and across a cut go with the cut",
         std::string("PATCH\0\0\x0A\0\x01!\0\0\x02\0\x04wxyzEOF\0\0\x04", 26), "ABwx"},
        {"a record past the end fills the gap with zeros",
         std::string("PATCH\0\0\x0A\0\x01!EOF", 14), std::string("ABCDEFGH\0\0!", 11)},
        {"later records win",
         std::string("PATCH\0\0\0\0\x02"
                     "ab\0\0\x01\0\x01zEOF",
                     21),
         "azCDEFGH"},
    };
    for (const auto& c : kCases) {
        const PatchOutcome applied = Apply(Bytes(c.patch), Bytes(source));
        ASSERT_TRUE(applied.Ok()) << c.name << ": " << applied.reason;
        EXPECT_EQ(applied.bytes, Bytes(c.target)) << c.name;
    }
}

TEST(IpsPatch, NoRecordStartsAtTheOffsetThatReadsAsEof) {
    const std::vector<uint8_t> rom = testing::TitledRom(kIpsEofOffset + 0x20000);
    const struct {
        const char* name;
        uint32_t first, length;
    } kCases[] = {
        {"a change at the offset", kIpsEofOffset, 2},
        {"a one-byte change at the offset", kIpsEofOffset, 1},
        {"a long change whose second record would start there", kIpsEofOffset - kIpsMaxRecord,
         0x10010},
    };
    for (const auto& c : kCases) {
        std::vector<uint8_t> target = rom;
        for (uint32_t i = c.first; i < c.first + c.length; ++i) target[i] ^= 0x5A;
        const PatchOutcome patch = Diff(rom, target);
        ASSERT_TRUE(patch.Ok()) << c.name;
        const auto records = Records(patch.bytes);
        ASSERT_FALSE(records.empty()) << c.name;
        for (const auto& [offset, length] : records) {
            EXPECT_NE(offset, kIpsEofOffset) << c.name;
            EXPECT_LE(length, kIpsMaxRecord) << c.name;
        }
        const PatchOutcome applied = Apply(patch.bytes, rom);
        ASSERT_TRUE(applied.Ok()) << c.name << ": " << applied.reason;
        EXPECT_EQ(applied.bytes, target) << c.name;
    }
}

TEST(IpsPatch, ChangesFrom16MiBOnAreRefusedNamingTheFirst) {
    const std::vector<uint8_t> big = testing::TitledRom(kIpsReach + 0x100),
                               small = testing::TitledRom(0x400);
    const auto changed = [&](std::vector<uint32_t> offsets) {
        std::vector<uint8_t> target = big;
        for (const uint32_t o : offsets) target[o] ^= 1;
        return target;
    };
    const struct {
        const char* name;
        std::vector<uint8_t> source, target;
        PatchStatus status;
        uint32_t address;
    } kCases[] = {
        {"last byte below 16 MiB", big, changed({0x100, kIpsReach - 1}), PatchStatus::Ok, 0},
        {"first byte at 16 MiB", big, changed({0x100, kIpsReach + 0x10, kIpsReach}),
         PatchStatus::OutOfReach, kIpsReach},
        {"a change across the line", big, changed({kIpsReach - 1, kIpsReach}),
         PatchStatus::OutOfReach, kIpsReach},
        {"lengthened past 16 MiB", small, big, PatchStatus::OutOfReach, kIpsReach},
        {"cut to 16 MiB", big, std::vector<uint8_t>(big.begin(), big.begin() + kIpsReach),
         PatchStatus::OutOfReach, kIpsReach},
        {"cut to just under 16 MiB", big,
         std::vector<uint8_t>(big.begin(), big.begin() + kIpsReach - 1), PatchStatus::Ok, 0},
    };
    for (const auto& c : kCases) {
        const PatchOutcome patch = Diff(c.source, c.target);
        EXPECT_EQ(patch.status, c.status) << c.name << ": " << patch.reason;
        if (!patch.Ok()) {
            EXPECT_EQ(patch.address, c.address) << c.name;
            continue;
        }
        const PatchOutcome applied = Apply(patch.bytes, c.source);
        ASSERT_TRUE(applied.Ok()) << c.name;
        EXPECT_TRUE(applied.bytes == c.target) << c.name;
    }
    PatchCodeList codes;
    codes.Set(0x200, 1);
    codes.Set(kIpsReach + 0x40, 2);
    const PatchOutcome fromCodes =
        MakePatchFromCodes(PatchFormat::Ips, small.data(), small.size(), codes);
    EXPECT_EQ(fromCodes.status, PatchStatus::OutOfReach);
    EXPECT_EQ(fromCodes.address, kIpsReach) << "the filler before the code is the first change";
}

TEST(IpsPatch, DamagedPatchesAreRefused) {
    const std::string source = "ABCDEFGH";
    const struct {
        const char* name;
        std::string patch;
        PatchStatus status;
    } kCases[] = {
        {"bad magic",
         "PATCX"
         "EOF",
         PatchStatus::BadMagic},
        {"empty", "", PatchStatus::BadMagic},
        {"no EOF", "PATCH", PatchStatus::Malformed},
        {"a run of nothing", std::string("PATCH\0\0\x01\0\0\0\0ZEOF", 16), PatchStatus::Malformed},
        {"one byte after EOF", "PATCHEOF!", PatchStatus::Malformed},
        {"four bytes after EOF", std::string("PATCHEOF\0\0\x01\0", 12), PatchStatus::Malformed},
        {"a cut longer than the result", std::string("PATCHEOF\0\0\x09", 11),
         PatchStatus::WrongSource},
    };
    for (const auto& c : kCases) {
        const PatchOutcome outcome = Apply(Bytes(c.patch), Bytes(source));
        EXPECT_EQ(outcome.status, c.status) << c.name << ": " << outcome.reason;
    }

    const std::vector<uint8_t> whole =
        Bytes(std::string("PATCH\0\0\x01\0\x02xy\0\0\x04\0\0\0\x03ZEOF", 23));
    ASSERT_TRUE(Apply(whole, Bytes(source)).Ok());
    for (size_t length = 0; length < whole.size(); ++length) {
        const std::vector<uint8_t> cut(whole.begin(),
                                       whole.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(Apply(cut, Bytes(source)).Ok()) << "cut to " << length << " bytes";
    }
}

}  // namespace
}  // namespace tsumugi

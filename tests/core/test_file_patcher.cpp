#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <utility>

#include "core/file_io.h"
#include "core/file_patcher.h"
#include "faulty_disk.h"
#include "temp_dir.h"

namespace tsumugi {
namespace {

using testing::DiskFault;
using testing::FaultyDisk;
using testing::ReadBytes;
using testing::TempDir;

class FilePatcherApply : public ::testing::Test {
protected:
    // A file whose length is not a multiple of any sector size.
    static constexpr uint32_t kLength = 1000;
    void SetUp() override {
        original.resize(kLength);
        for (uint32_t i = 0; i < kLength; ++i) original[i] = static_cast<uint8_t>(i);
        path = dir.Write("rom.gba", original);
    }
    // What the file should hold when the given bytes are set.
    std::vector<uint8_t> With(std::initializer_list<std::pair<uint32_t, uint8_t>> bytes) const {
        std::vector<uint8_t> expected = original;
        for (const auto& [offset, value] : bytes) expected[offset] = value;
        return expected;
    }
    TempDir dir;
    std::vector<uint8_t> original;
    std::string path;
    FilePatcher patcher;
    size_t skipped = 99;
};

TEST_F(FilePatcherApply, WritesOnlyTheEntryBytes) {
    ASSERT_TRUE(patcher.AddEntry(0x10, 0xBBAA, 2));
    ASSERT_TRUE(patcher.AddEntry(0x12, 0xDDCC, 2));  // touches the one before: one run
    ASSERT_TRUE(patcher.AddEntry(0x200, 0x11, 1));
    ASSERT_TRUE(patcher.Apply(path, &skipped));
    EXPECT_EQ(skipped, 0u);
    EXPECT_EQ(ReadBytes(path),
              With({{0x10, 0xAA}, {0x11, 0xBB}, {0x12, 0xCC}, {0x13, 0xDD}, {0x200, 0x11}}));
}

TEST_F(FilePatcherApply, LastTwoBytesOfFileKeepItsLength) {
    ASSERT_TRUE(patcher.AddEntry(kLength - 2, 0x3412, 2));
    ASSERT_TRUE(patcher.Apply(path, &skipped));
    EXPECT_EQ(ReadBytes(path), With({{kLength - 2, 0x12}, {kLength - 1, 0x34}}));
}

TEST_F(FilePatcherApply, EntriesAtOrPastEndAreSkippedAndCounted) {
    ASSERT_TRUE(patcher.AddEntry(4, 0xFFFF, 2));
    ASSERT_TRUE(patcher.AddEntry(kLength, 0xFFFF, 2));
    ASSERT_TRUE(patcher.AddEntry(kLength + 0x1000, 0xFFFF, 2));
    ASSERT_TRUE(patcher.Apply(path, &skipped));
    EXPECT_EQ(skipped, 2u);
    EXPECT_EQ(ReadBytes(path), With({{4, 0xFF}, {5, 0xFF}}));
}

TEST_F(FilePatcherApply, OddEntryOnLastByteWritesWhatFits) {
    ASSERT_TRUE(patcher.AddEntry(kLength - 1, 0xBBAA, 2));
    ASSERT_TRUE(patcher.Apply(path, &skipped));
    EXPECT_EQ(skipped, 0u);
    EXPECT_EQ(ReadBytes(path), With({{kLength - 1, 0xAA}}));
}

TEST_F(FilePatcherApply, EntryAcrossSectorBoundaryIsWrittenWhole) {
    ASSERT_TRUE(patcher.AddEntry(511, 0x2211, 2));
    ASSERT_TRUE(patcher.Apply(path));
    EXPECT_EQ(ReadBytes(path), With({{511, 0x11}, {512, 0x22}}));
}

TEST_F(FilePatcherApply, OverlappingOddEntriesLaterWins) {
    ASSERT_TRUE(patcher.AddEntry(0x11, 0xBBAA, 2));
    ASSERT_TRUE(patcher.AddEntry(0x12, 0xDDCC, 2));
    ASSERT_TRUE(patcher.Apply(path));
    EXPECT_EQ(ReadBytes(path), With({{0x11, 0xAA}, {0x12, 0xCC}, {0x13, 0xDD}}));
}

TEST_F(FilePatcherApply, MissingFileFailsAndIsNotCreated) {
    ASSERT_TRUE(patcher.AddEntry(0, 1, 2));
    const std::string missing = dir.File("missing.gba");
    EXPECT_FALSE(patcher.Apply(missing));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(FilePatcherEntries, OneEntryPerOffsetAndLengthOneToFour) {
    FilePatcher patcher;
    EXPECT_TRUE(patcher.AddEntry(8, 0x04030201, 4));
    EXPECT_FALSE(patcher.AddEntry(8, 0, 2));
    EXPECT_FALSE(patcher.AddEntry(9, 0, 0));
    EXPECT_FALSE(patcher.AddEntry(9, 0, 5));
    EXPECT_EQ(patcher.Count(), 1u);

    TempDir dir;
    const std::string path = dir.Write("f.bin", std::vector<uint8_t>(16, 0));
    ASSERT_TRUE(patcher.Apply(path));
    const std::vector<uint8_t> bytes = ReadBytes(path);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 8, bytes.begin() + 13),
              (std::vector<uint8_t>{1, 2, 3, 4, 0}));
}


// Codes close together go to the disk as one write, which it takes far faster than many
// small ones; the bytes between them are written back as they were.
TEST(FilePatcherRuns, NearbyEntriesShareAWriteAndTheBytesBetweenStay) {
    constexpr uint32_t kGap = 64u << 10;  // the widest gap a write reaches over
    std::vector<uint32_t> everyFar;
    for (uint32_t offset = 0; offset <= (2u << 20); offset += 32u << 10) everyFar.push_back(offset);
    const struct {
        const char* name;
        std::vector<uint32_t> offsets;
        int writes;
    } cases[] = {
        {"touching", {0x10, 0x12}, 1},
        {"a gap a write reaches over", {0x10, 0x12 + kGap}, 1},
        {"a gap too wide", {0x10, 0x12 + kGap + 1}, 2},
        {"a write is cut at 1 MiB", everyFar, 3},
    };
    std::vector<uint8_t> original(3u << 20);
    for (size_t i = 0; i < original.size(); ++i) original[i] = static_cast<uint8_t>(i * 13 + (i >> 11));
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Write("rom.gba", original);
        FilePatcher patcher;
        std::vector<uint8_t> expected = original;
        for (uint32_t offset : c.offsets) {
            ASSERT_TRUE(patcher.AddEntry(offset, 0xC3A5, 2));
            expected[offset] = 0xA5;
            expected[offset + 1] = 0xC3;
        }
        int writes = 0;
        {
            FileOps counting;
            counting.pwrite = [&writes, real = SystemFileOps().pwrite](int fd, const void* data, size_t count,
                                                                      off_t at) {
                ++writes;
                return real(fd, data, count, at);
            };
            ScopedFileOps scope(counting);
            ASSERT_TRUE(patcher.Apply(path));
        }
        EXPECT_EQ(writes, c.writes);
        EXPECT_TRUE(ReadBytes(path) == expected);
    }
}

// A shared write the disk cuts short: the entries it covered are written, the rest are not,
// and the bytes between them are what they were either way.
TEST(FilePatcherRuns, AWriteCutShortReportsEachEntryByWhereItStopped) {
    std::vector<uint8_t> original(0x10000);
    for (size_t i = 0; i < original.size(); ++i) original[i] = static_cast<uint8_t>(i * 5);
    TempDir dir;
    const std::string path = dir.Write("rom.gba", original);
    FilePatcher patcher;
    for (uint32_t offset : {0x10u, 0x8000u, 0xF000u}) ASSERT_TRUE(patcher.AddEntry(offset, 0xFFFF, 2));
    ApplyReport report;
    {
        FaultyDisk disk(DiskFault{"short, then full", "write", ENOSPC, 0, true});
        EXPECT_FALSE(patcher.Apply(path, nullptr, &report));
    }
    EXPECT_EQ(report.written, (std::vector<uint32_t>{0x10}));
    EXPECT_EQ(report.notWritten, (std::vector<uint32_t>{0x8000, 0xF000}));
    std::vector<uint8_t> expected = original;
    expected[0x10] = expected[0x11] = 0xFF;
    EXPECT_TRUE(ReadBytes(path) == expected);
}

}  // namespace
}  // namespace tsumugi

#include <gtest/gtest.h>

#include <vector>

#include "core/bytes.h"
#include "core/layout/scenario.h"
#include "core/scenario_lists.h"

namespace tsumugi {
namespace {

namespace dr = layout::deploy_record;

TEST(ChapterPointerTest, ConvertsBusAddressesAndChecksTheImage) {
    constexpr uint32_t kImage = 0x1010000;
    struct Case {
        uint32_t pointer;
        PointerTarget kind;
        uint32_t offset;
    };
    const Case cases[] = {
        {0x00000000, PointerTarget::None, 0},
        {0x08000000, PointerTarget::None, 0},  // the bus base itself is "none" too
        {0x0826B840, PointerTarget::Inside, 0x26B840},
        {0x0026B840, PointerTarget::Inside, 0x26B840},  // a plain offset is taken as it is
        {0x09000000, PointerTarget::Inside, 0x1000000},
        {0x08000000 + kImage - 20, PointerTarget::Inside, kImage - 20},  // the last record fits
        {0x08000000 + kImage - 19, PointerTarget::PastImage, kImage - 19},
        {0x08000000 + kImage, PointerTarget::PastImage, kImage},
        {0x09FFFFFF, PointerTarget::PastImage, 0x1FFFFFF},
        {0x0A000000, PointerTarget::Unusable, 0x2000000},  // 32 MiB and up
        {0x02000000, PointerTarget::Unusable, 0x2000000},
        {0xFFFFFFFF, PointerTarget::Unusable, 0xF7FFFFFF},
    };
    for (const Case& c : cases) {
        const ChapterTarget t = ConvertChapterPointer(c.pointer, 20, kImage);
        EXPECT_EQ(t.kind, c.kind) << std::hex << c.pointer;
        EXPECT_EQ(t.offset, c.offset) << std::hex << c.pointer;
    }
}

TEST(ChapterPointerTest, ReadsAnEntryOnlyInsideTheImage) {
    namespace table = layout::chapter_pointer_table;
    std::vector<uint8_t> rom(table::kBase + table::kEntrySize * 81, 0);
    Write32(&rom[table::kBase + table::kEntrySize * 80], 0x08123456);
    Write32(&rom[table::kBase + table::kEntrySize * 80 + 4], 0x09000010);
    uint32_t deploy = 0, messages = 0;
    ASSERT_TRUE(ReadChapterPointers(rom.data(), static_cast<uint32_t>(rom.size()), 80, deploy, messages));
    EXPECT_EQ(deploy, 0x08123456u);
    EXPECT_EQ(messages, 0x09000010u);
    EXPECT_FALSE(ReadChapterPointers(rom.data(), static_cast<uint32_t>(rom.size()), 81, deploy, messages));
    EXPECT_FALSE(ReadChapterPointers(rom.data(), static_cast<uint32_t>(rom.size()), -1, deploy, messages));
    // An image that ends inside the last entry's message pointer.
    EXPECT_FALSE(ReadChapterPointers(rom.data(), table::kBase + table::kEntrySize * 80 + 7, 80, deploy, messages));
    EXPECT_TRUE(ReadChapterPointers(rom.data(), table::kBase + table::kEntrySize * 80 + 8, 80, deploy, messages));
}

// count plain records from offset, then a terminator unless terminate is false.
std::vector<uint8_t> DeployImage(uint32_t offset, int count, bool terminate, uint32_t tail = 0) {
    std::vector<uint8_t> rom(offset + dr::kSize * static_cast<uint32_t>(count + (terminate ? 1 : 0)) + tail, 0);
    if (terminate) {
        uint8_t* t = &rom[offset + dr::kSize * static_cast<uint32_t>(count)];
        for (int k = 0; k < 6; ++k) t[k] = 0xFF;
        t[dr::kX] = t[dr::kY] = 0xFF;
    }
    return rom;
}

TEST(DeployListTest, TheTerminatorNeedsBytesZeroToFiveAndThePosition) {
    uint8_t record[20] = {};
    for (int k = 0; k < 6; ++k) record[k] = 0xFF;
    record[dr::kX] = record[dr::kY] = 0xFF;
    EXPECT_TRUE(IsDeployTerminator(record));
    record[6] = record[dr::kDrop] = 0x12;  // the rest is not examined
    EXPECT_TRUE(IsDeployTerminator(record));
    for (uint32_t k : {0u, 3u, 5u, dr::kX, dr::kY}) {
        uint8_t copy[20];
        std::copy(record, record + 20, copy);
        copy[k] = 0xFE;
        EXPECT_FALSE(IsDeployTerminator(copy)) << k;
    }
}

TEST(DeployListTest, ScanStopsAtTheTerminatorAThousandRecordsOrTheImageEnd) {
    struct Case {
        int count;
        bool terminate;
        uint32_t tail;
        int expectCount;
        bool expectPast;
    };
    const Case cases[] = {
        {0, true, 0, 0, false},
        {3, true, 0, 3, false},
        {999, true, 0, 999, false},    // the terminator is the 1000th record
        {1000, true, 0, 1000, false},  // the 1001st is never examined
        {1200, false, 0, 1000, false},
        {4, false, 0, 4, true},        // runs into the image's end
        {4, false, 19, 4, true},       // a partial record at the end is not read
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> rom = DeployImage(64, c.count, c.terminate, c.tail);
        const DeployScan scan = ScanDeployList(rom.data(), static_cast<uint32_t>(rom.size()), 64);
        EXPECT_EQ(scan.count, c.expectCount) << c.count;
        EXPECT_EQ(scan.pastImage, c.expectPast) << c.count;
    }
    const std::vector<uint8_t> rom = DeployImage(64, 1, true);
    EXPECT_TRUE(ScanDeployList(rom.data(), static_cast<uint32_t>(rom.size()), 0xFFFFFFF0).pastImage);
}

}  // namespace
}  // namespace tsumugi

// Read-only mappings that give their pages back.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/mapped_file.h"
#include "core/temp_dir.h"

namespace tsumugi {
namespace {

using testing::TempDir;

std::vector<uint8_t> Pattern(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 131 + (i >> 12));
    return bytes;
}

TEST(MappedFile, ReadsTheFileAndStillDoesAfterGivingPagesBack) {
    TempDir dir;
    const std::vector<uint8_t> bytes = Pattern((3u << 20) + 777);  // a partial last page
    MappedFile file;
    ASSERT_TRUE(file.Open(dir.Write("rom.gba", bytes)));
    ASSERT_EQ(file.Size(), bytes.size());
    const size_t all = std::numeric_limits<size_t>::max();
    const struct {
        size_t offset, length;
    } ranges[] = {
        {0, 1u << 20},
        {(1u << 20) + 1, 4095},  // less than a whole page inside
        {4097, 3u << 20},
        {bytes.size() - 5, 5},
        {bytes.size(), 10},
        {bytes.size() + 4096, 1},
        {0, 0},
        {123, all},
    };
    for (const auto& r : ranges) {
        file.Prefetch(r.offset, r.length);
        file.Release(r.offset, r.length);
        ASSERT_EQ(std::memcmp(file.Data(), bytes.data(), bytes.size()), 0)
            << "after offset " << r.offset << " length " << r.length;
    }

    MappedFile moved = std::move(file);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Data(), nullptr);
    ASSERT_TRUE(moved.IsOpen());
    EXPECT_EQ(moved.Data()[bytes.size() - 1], bytes.back());
}

TEST(MappedFile, OpensOnlyRegularFiles) {
    TempDir dir;
    const struct {
        const char* what;
        std::string path;
        bool opens;
    } cases[] = {
        {"missing", dir.File("missing.gba"), false},
        {"folder", dir.Path(), false},
        {"empty", dir.Write("empty.gba", std::vector<uint8_t>{}), true},
        {"one byte", dir.Write("one.gba", std::vector<uint8_t>{0x5A}), true},
    };
    for (const auto& c : cases) {
        MappedFile file;
        ASSERT_TRUE(file.Open(dir.Write("earlier.gba", Pattern(100))));
        EXPECT_EQ(file.Open(c.path), c.opens) << c.what;
        EXPECT_EQ(file.IsOpen(), c.opens) << c.what << ": a failed open leaves nothing mapped";
        if (!c.opens) {
            EXPECT_EQ(file.Size(), 0u) << c.what;
        }
        EXPECT_EQ(file.Data() != nullptr, file.Size() > 0) << c.what;
    }
}

}  // namespace
}  // namespace tsumugi

// The patched copy that "codes apply" writes: read, patched and written a piece at a time,
// it must give exactly what patching the whole image in memory gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/file_io.h"
#include "core/patched_copy.h"
#include "faulty_disk.h"
#include "random_bytes.h"
#include "temp_dir.h"

namespace tsumugi {
namespace {

using test::RandomBytes;
using testing::NoTemporaryFile;
using testing::ReadBytes;
using testing::TempDir;

constexpr uint8_t kFill = 0xFF;

// The codes applied to the whole image in memory, in ascending order; bytes at or past
// the end are dropped.
std::vector<uint8_t> Model(std::vector<uint8_t> image, size_t size, const PatchCodeList& codes) {
    image.resize(size, kFill);
    for (const auto& [offset, value] : codes) {
        if (offset < size) image[offset] = static_cast<uint8_t>(value);
        if (offset + 1 < size) image[offset + 1] = static_cast<uint8_t>(value >> 8);
    }
    return image;
}

TEST(PatchedCopy, GivesWhatPatchingTheWholeImageGives) {
    RandomBytes rng(0xC0DE0007);
    TempDir dir;
    const size_t length = 2 * kFilePiece + 777;
    std::vector<uint8_t> rom(length);
    for (uint8_t& byte : rom) byte = rng.Byte();
    const std::string source = dir.Write("in.gba", rom);
    // Sizes: as long as the source, and lengthened by more than a piece.
    for (size_t size : {length, length + kFilePiece + 5}) {
        SCOPED_TRACE(size);
        PatchCodeList codes;
        for (int n = 0; n < 300; ++n) codes.Set(rng.Below(size), static_cast<uint16_t>(rng.Next()));
        // Codes across piece edges, across the source's end, on the last byte, and an odd
        // pair sharing a byte.
        for (uint64_t edge : {kFilePiece, 2 * kFilePiece, length, size}) {
            codes.Set(static_cast<uint32_t>(edge - 1), 0xA1B2);
            codes.Set(static_cast<uint32_t>(edge - 2), 0xC3D4);
        }
        codes.Set(0x1001, 0x1111);
        codes.Set(0x1002, 0x2222);
        const std::string out = dir.File("out.gba");
        ASSERT_TRUE(WritePatchedCopy(source, length, codes, size, kFill, out));
        EXPECT_TRUE(ReadBytes(out) == Model(rom, size, codes));
    }
}

TEST(PatchedCopy, RefusesAndLeavesTheOutputAsItWas) {
    TempDir dir;
    const std::string source = dir.Write("in.gba", std::vector<uint8_t>(4096, 1));
    const std::string out = dir.Write("out.gba", std::string("old"));
    PatchCodeList codes;
    codes.Set(0x10, 0xBEEF);
    const struct {
        const char* name;
        std::string source;
        uint64_t length;
        size_t size;
    } cases[] = {
        {"no such source", dir.File("none.gba"), 4096, 4096},
        {"a folder", dir.Path(), 4096, 4096},
        {"the source is shorter than said", source, 8192, 8192},
        {"the source is longer than said", source, 2048, 4096},
        {"a size below the length", source, 4096, 4095},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(WritePatchedCopy(c.source, c.length, codes, c.size, kFill, out));
        EXPECT_EQ(testing::ReadText(out), "old");
        EXPECT_TRUE(NoTemporaryFile(dir.Path()));
    }
}

// A source that cannot give a piece fails the write as a failing disk does.
TEST(PatchedCopy, ASourceThatFailsMidwayLeavesTheOutputAsItWas) {
    TempDir dir;
    const std::string out = dir.Write("out.gba", std::string("old"));
    std::vector<uint8_t> piece(kFilePiece, 7);
    int asked = 0;
    errno = 0;
    EXPECT_FALSE(WriteFileFrom(out, 3 * kFilePiece, [&](uint64_t, size_t) -> const uint8_t* {
        if (++asked < 2) return piece.data();
        errno = EIO;
        return nullptr;
    }));
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(testing::ReadText(out), "old");
    EXPECT_TRUE(NoTemporaryFile(dir.Path()));
}

}  // namespace
}  // namespace tsumugi

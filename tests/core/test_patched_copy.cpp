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

// The source must be a regular file of exactly the length said; past it the copy holds
// the fill. A copy refused leaves the output as it was.
TEST(PatchedCopy, ReadsTheSaidLengthAndFillsTheRest) {
    TempDir dir;
    std::vector<uint8_t> bytes((2u << 20) + 3);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 131 + (i >> 12));
    const std::string path = dir.Write("rom.gba", bytes);
    const uint64_t length = bytes.size();
    const struct {
        const char* what;
        std::string path;
        uint64_t length;
        size_t size;
        bool ok;
    } cases[] = {
        {"exact", path, length, bytes.size(), true},
        {"lengthened", path, length, bytes.size() + (1u << 20) + 1, true},
        {"file longer than expected", path, length - 1, bytes.size(), false},
        {"file shorter than expected", path, length + 1, bytes.size() + 1, false},
        {"size smaller than the file", path, length, bytes.size() - 1, false},
        {"missing", dir.File("missing.gba"), 0, 16, false},
        {"folder", dir.Path(), 0, 16, false},
    };
    const std::string out = dir.File("out.gba");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dir.Write("out.gba", std::string("old"));
        ASSERT_EQ(WritePatchedCopy(c.path, c.length, PatchCodeList(), c.size, kFill, out), c.ok);
        EXPECT_TRUE(NoTemporaryFile(dir.Path()));
        if (!c.ok) {
            EXPECT_EQ(testing::ReadText(out), "old");
            continue;
        }
        std::vector<uint8_t> expected = bytes;
        expected.resize(c.size, kFill);
        EXPECT_TRUE(ReadBytes(out) == expected);
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

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/rom_image.h"
#include "temp_dir.h"

namespace tsumugi {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::TitledRom;

constexpr uint32_t k16MiB = 0x1000000;

struct TitleQuestion {
    bool answer = false;
    int asked = 0;
    AcceptWrongTitle Callback() {
        return [this] {
            ++asked;
            return answer;
        };
    }
};

class RomImageLoad : public ::testing::Test {
protected:
    TempDir dir;
    TitleQuestion question;
    RomImage rom;
};

TEST_F(RomImageLoad, MatchingTitleLoadsWithoutAsking) {
    const std::vector<uint8_t> bytes = TitledRom(0x400);
    const std::string path = dir.Write("good.gba", bytes);
    ASSERT_TRUE(rom.Load(path, question.Callback()));
    EXPECT_EQ(question.asked, 0);
    EXPECT_EQ(rom.m_nSize, 0x400u);
    EXPECT_EQ(rom.m_szPath, path);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), rom.m_pData));
}

TEST_F(RomImageLoad, WrongTitleAsksAndNoLeavesNoRom) {
    ASSERT_TRUE(rom.Load(dir.Write("good.gba", TitledRom(0x400)), question.Callback()));
    std::vector<uint8_t> other = TitledRom(0x400);
    other[0xA7] = 1;  // the second padding byte of the title differs
    question.answer = false;
    EXPECT_FALSE(rom.Load(dir.Write("other.gba", other), question.Callback()));
    EXPECT_EQ(question.asked, 1);
    EXPECT_FALSE(rom.IsLoaded());
    EXPECT_TRUE(rom.m_szPath.empty());
}

TEST_F(RomImageLoad, WrongTitleYesLoads) {
    std::vector<uint8_t> other = TitledRom(0x400);
    other[0xA0] = 'Q';
    question.answer = true;
    ASSERT_TRUE(rom.Load(dir.Write("other.gba", other), question.Callback()));
    EXPECT_EQ(question.asked, 1);
    EXPECT_EQ(rom.m_pData[0xA0], 'Q');
}

TEST_F(RomImageLoad, FileTooShortForTitleAsks) {
    // 0xA7 bytes: all of the title but its last zero byte.
    const std::string path = dir.Write("short.gba", TitledRom(0xA7));
    EXPECT_FALSE(rom.Load(path, question.Callback()));
    EXPECT_EQ(question.asked, 1);
    question.answer = true;
    ASSERT_TRUE(rom.Load(path, question.Callback()));
    EXPECT_EQ(rom.m_nSize, 0xA7u);
    EXPECT_TRUE(RomImage::TitleMatches(TitledRom(0xA8).data(), 0xA8));
}

TEST_F(RomImageLoad, FailedLoadDropsThePreviousImage) {
    ASSERT_TRUE(rom.Load(dir.Write("good.gba", TitledRom(0x400)), question.Callback()));
    EXPECT_FALSE(rom.Load(dir.File("missing.gba"), question.Callback()));
    EXPECT_FALSE(rom.IsLoaded());
    EXPECT_FALSE(rom.Load(dir.Write("empty.gba", std::vector<uint8_t>()), question.Callback()));
    EXPECT_FALSE(rom.IsLoaded());
    EXPECT_EQ(question.asked, 0);
}

TEST_F(RomImageLoad, ReloadFromItsOwnPath) {
    const std::string path = dir.Write("good.gba", TitledRom(0x400));
    ASSERT_TRUE(rom.Load(path, question.Callback()));
    ASSERT_TRUE(rom.Load(rom.m_szPath, question.Callback()));
    EXPECT_EQ(rom.m_szPath, path);
}

TEST_F(RomImageLoad, SaveToLongerFileLeavesExactlyTheImage) {
    const std::vector<uint8_t> bytes = TitledRom(0x300);
    const std::string path = dir.Write("good.gba", bytes);
    ASSERT_TRUE(rom.Load(path, question.Callback()));
    rom.m_pData[0x10] ^= 0xFF;
    const std::string target = dir.Write("longer.gba", std::vector<uint8_t>(0x1000, 0xEE));

    ASSERT_TRUE(rom.SaveTo(target));
    const std::vector<uint8_t> saved = ReadBytes(target);
    ASSERT_EQ(saved.size(), 0x300u);
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), rom.m_pData));
    EXPECT_EQ(rom.m_szPath, path);  // later in-place patching still goes to the opened file
    EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(RomImageLoad, SaveToFailsWithoutRomOrFolder) {
    EXPECT_FALSE(rom.SaveTo(dir.File("none.gba")));
    ASSERT_TRUE(rom.Load(dir.Write("good.gba", TitledRom(0x300)), question.Callback()));
    EXPECT_FALSE(rom.SaveTo(dir.File("no-such-folder/x.gba")));
}

class RomImageExtend : public ::testing::Test {
protected:
    // A sparse ROM file of size bytes; the image in memory is not needed to lengthen it.
    void MakeFile(uint32_t size) {
        rom.m_szPath = dir.Write("rom.gba", TitledRom(0x200));
        std::filesystem::resize_file(rom.m_szPath, size);
        rom.m_nSize = size;
    }
    std::vector<uint8_t> Tail(uint32_t from) { return ReadBytes(rom.m_szPath, from); }
    TempDir dir;
    RomImage rom;
};

TEST_F(RomImageExtend, TwoBytesPast16MiB) {
    MakeFile(k16MiB);
    ASSERT_TRUE(rom.ExtendFile(k16MiB + 2));
    EXPECT_EQ(std::filesystem::file_size(rom.m_szPath), k16MiB + 2);
    EXPECT_EQ(Tail(k16MiB - 2), (std::vector<uint8_t>{0, 0, 0xFF, 0xFF}));
}

TEST_F(RomImageExtend, TwoWholeBlocksTo18MiB) {
    MakeFile(k16MiB);
    ASSERT_TRUE(rom.ExtendFile(k16MiB + 0x200000));
    const std::vector<uint8_t> tail = Tail(k16MiB);
    EXPECT_EQ(tail, std::vector<uint8_t>(0x200000, 0xFF));
}

TEST_F(RomImageExtend, UnevenRemainderAfterBlocks) {
    MakeFile(0x200);
    ASSERT_TRUE(rom.ExtendFile(0x200 + 0x100000 + 3));
    EXPECT_EQ(Tail(0x200), std::vector<uint8_t>(0x100003, 0xFF));
}

TEST_F(RomImageExtend, SameOrSmallerSizeChangesNothing) {
    MakeFile(0x400);
    EXPECT_TRUE(rom.ExtendFile(0x400));
    EXPECT_TRUE(rom.ExtendFile(0x10));
    EXPECT_EQ(std::filesystem::file_size(rom.m_szPath), 0x400u);
}

TEST_F(RomImageExtend, MissingFileFailsAndIsNotCreated) {
    rom.m_szPath = dir.File("gone.gba");
    rom.m_nSize = 0x200;
    EXPECT_FALSE(rom.ExtendFile(0x400));
    EXPECT_FALSE(std::filesystem::exists(rom.m_szPath));
}

}  // namespace
}  // namespace tsumugi

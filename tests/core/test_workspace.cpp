#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "core/workspace.h"
#include "temp_dir.h"

namespace tsumugi {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::TitledRom;

using CodeVector = std::vector<std::pair<uint32_t, uint16_t>>;

struct ScriptedQuestions : WorkspaceQuestions {
    bool acceptTitle = false;
    bool acceptExtend = false;
    int titleAsked = 0;
    std::vector<uint32_t> extendAsked;
    bool AcceptWrongTitle() override {
        ++titleAsked;
        return acceptTitle;
    }
    bool AcceptExtend(uint32_t newSize) override {
        extendAsked.push_back(newSize);
        return acceptExtend;
    }
};

class WorkspaceTest : public ::testing::Test {
protected:
    void LoadSmallRom(uint32_t size = 0x200) {
        original = TitledRom(size);
        romPath = dir.Write("rom.gba", original);
        ASSERT_TRUE(ws.LoadRom(romPath, q));
    }
    std::string CodeFile(const std::string& text) { return dir.Write("codes.txt", text); }
    CodeVector Codes() const { return {ws.m_codes.begin(), ws.m_codes.end()}; }

    TempDir dir;
    ScriptedQuestions q;
    Workspace ws;
    std::vector<uint8_t> original;
    std::string romPath;
};

TEST_F(WorkspaceTest, LoadingAnotherRomClearsCodesEvenWhenItFails) {
    LoadSmallRom();
    ws.m_codes.Set(0x10, 1);
    EXPECT_FALSE(ws.LoadRom(dir.File("missing.gba"), q));
    EXPECT_FALSE(ws.m_rom.IsLoaded());
    EXPECT_TRUE(ws.m_codes.Empty());

    LoadSmallRom();
    ws.m_codes.Set(0x10, 1);
    std::vector<uint8_t> wrong = TitledRom(0x200);
    wrong[0xA1] = 'X';
    EXPECT_FALSE(ws.LoadRom(dir.Write("wrong.gba", wrong), q));  // answered No
    EXPECT_EQ(q.titleAsked, 1);
    EXPECT_FALSE(ws.m_rom.IsLoaded());
    EXPECT_TRUE(ws.m_codes.Empty());
}

TEST_F(WorkspaceTest, CodesInsideTheRomAreAppliedAndRecordedWithoutQuestions) {
    LoadSmallRom();
    ws.m_codes.Set(0x20, 0x1111);
    ASSERT_EQ(ws.LoadCodes(CodeFile("08000021:BEEF\r\n08000020:2222\r\n08000021:ABCD\r\n"), q),
              LoadCodesResult::Applied);
    EXPECT_TRUE(q.extendAsked.empty());
    EXPECT_EQ(Codes(), (CodeVector{{0x20, 0x2222}, {0x21, 0xABCD}}));
    // Ascending order: the odd code at 0x21 is stored after the one at 0x20.
    EXPECT_EQ(ws.m_rom.m_pData[0x20], 0x22);
    EXPECT_EQ(ws.m_rom.m_pData[0x21], 0xCD);
    EXPECT_EQ(ws.m_rom.m_pData[0x22], 0xAB);
    EXPECT_EQ(ReadBytes(romPath), original);  // the file on disk is not touched
}

TEST_F(WorkspaceTest, UnreadableFileAndEmptyFile) {
    LoadSmallRom();
    EXPECT_EQ(ws.LoadCodes(dir.File("missing.txt"), q), LoadCodesResult::Unreadable);
    EXPECT_EQ(ws.LoadCodes(CodeFile("nothing of use\r\n"), q), LoadCodesResult::Applied);
    EXPECT_TRUE(ws.m_codes.Empty());
}

TEST_F(WorkspaceTest, CodePastTheEndLengthensTheFileAndReloadsIt) {
    LoadSmallRom();
    ws.m_codes.Set(0x40, 0x4444);
    ws.m_rom.m_pData[0x30] ^= 0xFF;  // an edit in memory only: the reload drops it
    q.acceptExtend = true;
    ASSERT_EQ(ws.LoadCodes(CodeFile("08000010:1234\r\n08000300:5678\r\n"), q),
              LoadCodesResult::Applied);
    EXPECT_EQ(q.extendAsked, std::vector<uint32_t>{0x302});
    EXPECT_EQ(q.titleAsked, 0);

    std::vector<uint8_t> onDisk = original;
    onDisk.resize(0x302, 0xFF);
    EXPECT_EQ(ReadBytes(romPath), onDisk);
    ASSERT_EQ(ws.m_rom.m_nSize, 0x302u);
    EXPECT_EQ(ws.m_rom.m_pData[0x30], original[0x30]);
    EXPECT_EQ(ws.m_rom.m_pData[0x300], 0x78);
    EXPECT_EQ(ws.m_rom.m_pData[0x301], 0x56);
    EXPECT_EQ(Codes(), (CodeVector{{0x10, 0x1234}, {0x300, 0x5678}}));  // the reload cleared 0x40
}

TEST_F(WorkspaceTest, CodeAtTheCartridgeTopLengthens16MiBByTwoBytes) {
    romPath = dir.Write("big.gba", TitledRom(0x200));
    std::filesystem::resize_file(romPath, 0x1000000);
    ASSERT_TRUE(ws.LoadRom(romPath, q));
    q.acceptExtend = true;
    ASSERT_EQ(ws.LoadCodes(CodeFile("09000000:ABCD\r\n"), q), LoadCodesResult::Applied);
    EXPECT_EQ(q.extendAsked, std::vector<uint32_t>{0x01000002});
    EXPECT_EQ(ReadBytes(romPath, 0xFFFFFF), (std::vector<uint8_t>{0, 0xFF, 0xFF}));
    ASSERT_EQ(ws.m_rom.m_nSize, 0x01000002u);
    EXPECT_EQ(ws.m_rom.m_pData[0x1000000], 0xCD);
    EXPECT_EQ(ws.m_rom.m_pData[0x1000001], 0xAB);
}

TEST_F(WorkspaceTest, OddCodeOnTheLastByteLengthensByOne) {
    LoadSmallRom();
    q.acceptExtend = true;
    ASSERT_EQ(ws.LoadCodes(CodeFile("080001FF:2211"), q), LoadCodesResult::Applied);
    EXPECT_EQ(q.extendAsked, std::vector<uint32_t>{0x201});
    ASSERT_EQ(ws.m_rom.m_nSize, 0x201u);
    EXPECT_EQ(ws.m_rom.m_pData[0x1FF], 0x11);
    EXPECT_EQ(ws.m_rom.m_pData[0x200], 0x22);
}

TEST_F(WorkspaceTest, DeclinedLengtheningAppliesNothing) {
    LoadSmallRom();
    ws.m_codes.Set(0x40, 0x4444);
    ASSERT_EQ(ws.LoadCodes(CodeFile("08000010:1234\r\n08000200:5678\r\n"), q),
              LoadCodesResult::ExtendDeclined);
    EXPECT_EQ(q.extendAsked, std::vector<uint32_t>{0x202});
    EXPECT_EQ(ReadBytes(romPath), original);
    EXPECT_TRUE(std::equal(original.begin(), original.end(), ws.m_rom.m_pData));
    EXPECT_EQ(Codes(), (CodeVector{{0x40, 0x4444}}));
}

TEST_F(WorkspaceTest, ReloadAsksTheTitleQuestionAgain) {
    original = TitledRom(0x200);
    original[0xA0] = 'Q';
    romPath = dir.Write("rom.gba", original);
    q.acceptTitle = true;
    ASSERT_TRUE(ws.LoadRom(romPath, q));
    q.acceptExtend = true;
    q.acceptTitle = false;  // declined on the reload: no ROM, no codes
    ws.m_codes.Set(0x40, 0x4444);
    EXPECT_EQ(ws.LoadCodes(CodeFile("08000200:5678"), q), LoadCodesResult::ExtendFailed);
    EXPECT_EQ(q.titleAsked, 2);
    EXPECT_FALSE(ws.m_rom.IsLoaded());
    EXPECT_TRUE(ws.m_codes.Empty());
}

TEST_F(WorkspaceTest, RomFileGoneMakesLengtheningFail) {
    LoadSmallRom();
    std::filesystem::remove(romPath);
    q.acceptExtend = true;
    EXPECT_EQ(ws.LoadCodes(CodeFile("08000200:5678"), q), LoadCodesResult::ExtendFailed);
    EXPECT_TRUE(ws.m_rom.IsLoaded());
    EXPECT_FALSE(std::filesystem::exists(romPath));
}

TEST_F(WorkspaceTest, ReloadedRomStillTooShortAppliesNothing) {
    LoadSmallRom();
    std::filesystem::resize_file(romPath, 0x100);  // shortened on disk behind our back
    q.acceptExtend = true;
    EXPECT_EQ(ws.LoadCodes(CodeFile("08000010:1234\r\n08000200:5678\r\n"), q),
              LoadCodesResult::PastEnd);
    ASSERT_TRUE(ws.m_rom.IsLoaded());
    EXPECT_EQ(ws.m_rom.m_nSize, 0x102u);
    EXPECT_EQ(ws.m_rom.m_pData[0x10], original[0x10]);
    EXPECT_TRUE(ws.m_codes.Empty());
}

TEST_F(WorkspaceTest, RewriteWritesOnlyTheCodedWordsIntoTheOpenedFile) {
    EXPECT_EQ(ws.Rewrite(), RewriteResult::NoRom);
    LoadSmallRom();
    EXPECT_EQ(ws.Rewrite(), RewriteResult::NoCodes);

    ws.m_rom.m_pData[0x40] ^= 0xFF;  // changed in memory without a code: not written
    ws.m_codes.Set(0x10, 0x1234);
    ws.m_codes.Set(0x1FF, 0xAAAA);    // straddles the end: its first byte is written
    ws.m_codes.Set(0x300, 0x5678);    // past the end: skipped
    ASSERT_TRUE(ws.m_rom.SaveTo(dir.File("copy.gba")));  // saving elsewhere changes no target
    size_t skipped = 0;
    ASSERT_EQ(ws.Rewrite(&skipped), RewriteResult::Written);
    EXPECT_EQ(skipped, 1u);

    std::vector<uint8_t> expected = original;
    expected[0x10] = 0x34;
    expected[0x11] = 0x12;
    expected[0x1FF] = 0xAA;
    EXPECT_EQ(ReadBytes(romPath), expected);
    EXPECT_EQ(ws.m_codes.Size(), 3u);

    std::filesystem::remove(romPath);
    EXPECT_EQ(ws.Rewrite(), RewriteResult::Failed);
}

TEST_F(WorkspaceTest, ApplyWritesTheCodesThatFitAndCountsTheRest) {
    PatchCodeList codes;
    codes.Set(0x10, 0x1234);
    codes.Set(0x1FF, 0xAAAA);
    codes.Set(0x400, 0x5678);
    EXPECT_EQ(ws.Apply(codes), 3u);  // no ROM: nothing fits
    LoadSmallRom();
    EXPECT_EQ(ws.Apply(codes), 2u);
    EXPECT_EQ(ws.m_rom.m_pData[0x10], 0x34);
    EXPECT_EQ(ws.m_rom.m_pData[0x11], 0x12);
    EXPECT_EQ(ws.m_rom.m_pData[0x1FF], original[0x1FF]);
    EXPECT_TRUE(ws.m_codes.Empty());
}

}  // namespace
}  // namespace tsumugi

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

#include "core/bytes.h"
#include "core/edit_guard.h"
#include "core/workspace.h"
#include "random_bytes.h"
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
    // The original image with the codes written over it in ascending offset order, as
    // "上書き保存" writes them into the file on disk.
    std::vector<uint8_t> Replayed(const PatchCodeList& codes) const {
        std::vector<uint8_t> image = original;
        for (const auto& [offset, value] : codes) {
            image[offset] = static_cast<uint8_t>(value);
            if (offset + 1 < image.size()) image[offset + 1] = static_cast<uint8_t>(value >> 8);
        }
        return image;
    }

    // The first offset at which the image in memory differs from bytes, or -1.
    int64_t FirstDifference(const std::vector<uint8_t>& bytes) const {
        if (bytes.size() != ws.m_rom.m_nSize) return static_cast<int64_t>(std::min<size_t>(bytes.size(), ws.m_rom.m_nSize));
        // memcmp first: a byte-by-byte walk of the image costs seconds under the sanitizers.
        if (std::memcmp(bytes.data(), ws.m_rom.m_pData, bytes.size()) == 0) return -1;
        const auto at = std::mismatch(bytes.begin(), bytes.end(), ws.m_rom.m_pData);
        return at.first == bytes.end() ? -1 : at.first - bytes.begin();
    }

    // Long enough to hold every table up to the trust bonuses.
    static constexpr uint32_t kTablesEnd = 0xD6600;

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
    // Ascending order: the odd code at 0x21 is stored after the one at 0x20, and the code
    // at 0x20 takes over the byte they share, so each carries what the image holds.
    EXPECT_EQ(ws.m_rom.m_pData[0x20], 0x22);
    EXPECT_EQ(ws.m_rom.m_pData[0x21], 0xCD);
    EXPECT_EQ(ws.m_rom.m_pData[0x22], 0xAB);
    EXPECT_EQ(Codes(), (CodeVector{{0x20, 0xCD22}, {0x21, 0xABCD}}));
    EXPECT_EQ(ReadBytes(romPath), original);  // the file on disk is not touched
}

TEST_F(WorkspaceTest, UnreadableFileAndEmptyFile) {
    LoadSmallRom();
    EXPECT_EQ(ws.LoadCodes(dir.File("missing.txt"), q), LoadCodesResult::Unreadable);
    EXPECT_EQ(ws.LoadCodes(CodeFile("nothing of use\r\n"), q), LoadCodesResult::Applied);
    EXPECT_TRUE(ws.m_codes.Empty());
}

TEST_F(WorkspaceTest, CodePastTheEndLengthensFileAndImageKeepingCodesAndEdits) {
    LoadSmallRom();
    ws.m_codes.Set(0x40, 0x4444);
    ws.m_rom.m_pData[0x30] ^= 0xFF;  // an edit in memory only: lengthening keeps it
    std::vector<uint8_t> memory(ws.m_rom.m_pData, ws.m_rom.m_pData + ws.m_rom.m_nSize);
    q.acceptExtend = true;
    ASSERT_EQ(ws.LoadCodes(CodeFile("08000010:1234\r\n08000300:5678\r\n"), q),
              LoadCodesResult::Applied);
    EXPECT_EQ(q.extendAsked, std::vector<uint32_t>{0x302});
    EXPECT_EQ(q.titleAsked, 0);

    std::vector<uint8_t> onDisk = original;
    onDisk.resize(0x302, 0xFF);
    EXPECT_EQ(ReadBytes(romPath), onDisk);
    memory.resize(0x302, 0xFF);
    Write16(&memory[0x10], 0x1234);
    Write16(&memory[0x300], 0x5678);
    ASSERT_EQ(ws.m_rom.m_nSize, 0x302u);
    EXPECT_TRUE(std::equal(memory.begin(), memory.end(), ws.m_rom.m_pData));
    EXPECT_EQ(Codes(), (CodeVector{{0x10, 0x1234}, {0x40, 0x4444}, {0x300, 0x5678}}));
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

TEST_F(WorkspaceTest, LengtheningAsksNoTitleQuestionAgain) {
    original = TitledRom(0x200);
    original[0xA0] = 'Q';
    romPath = dir.Write("rom.gba", original);
    q.acceptTitle = true;
    ASSERT_TRUE(ws.LoadRom(romPath, q));
    q.acceptExtend = true;
    q.acceptTitle = false;  // a second title question would be answered No
    ws.m_codes.Set(0x40, 0x4444);
    EXPECT_EQ(ws.LoadCodes(CodeFile("08000200:5678"), q), LoadCodesResult::Applied);
    EXPECT_EQ(q.titleAsked, 1);
    ASSERT_TRUE(ws.m_rom.IsLoaded());
    EXPECT_EQ(ws.m_rom.m_nSize, 0x202u);
    EXPECT_EQ(ws.m_rom.m_pData[0xA0], 'Q');
    EXPECT_EQ(Codes(), (CodeVector{{0x40, 0x4444}, {0x200, 0x5678}}));
}

TEST_F(WorkspaceTest, FailedLengtheningLeavesImageAndCodesAlone) {
    struct Case {
        const char* name;
        bool removeFile;         // the ROM file is gone: it cannot be lengthened
        uint64_t shortenDiskTo;  // 0: untouched; else shortened on disk behind our back
        LoadCodesResult result;
    };
    const Case cases[] = {
        {"file gone", true, 0, LoadCodesResult::ExtendFailed},
        {"file shortened", false, 0x100, LoadCodesResult::PastEnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadSmallRom();
        ws.m_codes.Set(0x40, 0x4444);
        if (c.removeFile) std::filesystem::remove(romPath);
        if (c.shortenDiskTo) std::filesystem::resize_file(romPath, c.shortenDiskTo);
        q.acceptExtend = true;
        EXPECT_EQ(ws.LoadCodes(CodeFile("08000010:1234\r\n08000200:5678\r\n"), q), c.result);
        ASSERT_TRUE(ws.m_rom.IsLoaded());
        ASSERT_EQ(ws.m_rom.m_nSize, 0x200u);
        EXPECT_TRUE(std::equal(original.begin(), original.end(), ws.m_rom.m_pData));
        EXPECT_EQ(Codes(), (CodeVector{{0x40, 0x4444}}));
        EXPECT_EQ(std::filesystem::exists(romPath), !c.removeFile);
    }
}

// The case that made "上書き保存" write a stale byte: a code file's code at an odd offset,
// then an edit of the word below it. Memory holds AA BB 11; the disk and a replayed code
// file must hold the same, not AA 11 11.
TEST_F(WorkspaceTest, EditOverAnOddFileCodeWritesWhatMemoryHolds) {
    LoadSmallRom(kTablesEnd);
    ASSERT_EQ(ws.LoadCodes(CodeFile("080C38C5:1111"), q), LoadCodesResult::Applied);
    EditGuard guard;
    ASSERT_EQ(guard.Begin(ws.m_rom, category::kUnit), EditGuard::BeginResult::Ok);
    Write16(ws.m_rom.m_pData + 0xC38C4, 0xBBAA);
    guard.Commit(ws.m_codes);
    ASSERT_EQ(std::vector<uint8_t>(ws.m_rom.m_pData + 0xC38C4, ws.m_rom.m_pData + 0xC38C7),
              (std::vector<uint8_t>{0xAA, 0xBB, 0x11}));

    EXPECT_EQ(FirstDifference(Replayed(ws.m_codes)), -1);
    const std::string saved = dir.File("saved.txt");
    ASSERT_TRUE(WriteCodeFile(ws.m_codes, saved));
    const std::optional<PatchCodeList> reread = ReadCodeFile(saved);
    ASSERT_TRUE(reread);
    EXPECT_EQ(FirstDifference(Replayed(*reread)), -1);
    ASSERT_EQ(ws.Rewrite(), RewriteResult::Written);
    EXPECT_EQ(FirstDifference(ReadBytes(romPath)), -1);
}

// Code files put codes anywhere, editors at even offsets; whatever the mix, the codes
// written in offset order over the original give the image in memory. The window holds
// the end of the special-skill classification and the start of the trust bonuses, so
// codes also straddle two tables.
TEST_F(WorkspaceTest, CodesWriteExactlyTheImageAfterAnyMixOfFilesAndEdits) {
    constexpr uint32_t kFrom = 0xD5CE0, kTo = 0xD5D20;
    LoadSmallRom(kTablesEnd);
    test::RandomBytes rng(0xC0DE0A61);
    for (int step = 0; step < 300; ++step) {
        if (rng.OneIn(3)) {
            std::string text;
            for (uint32_t n = 0, lines = 1 + rng.Below(4); n < lines; ++n) {
                char line[24];
                std::snprintf(line, sizeof line, "%08X:%04X\r\n",
                              kBusBase + kFrom + rng.Below(kTo - kFrom), rng.Below(0x10000));
                text += line;
            }
            ASSERT_EQ(ws.LoadCodes(CodeFile(text), q), LoadCodesResult::Applied);
        } else {
            const int category = rng.OneIn(2) ? category::kSkillClass : category::kTrust;
            const DataRegion region = RegionsOf(category).front();
            const uint32_t from = std::max(kFrom, region.offset);
            const uint32_t to = std::min(kTo, region.offset + region.length);
            EditGuard guard;
            ASSERT_EQ(guard.Begin(ws.m_rom, category), EditGuard::BeginResult::Ok);
            for (uint32_t n = 0, edits = 1 + rng.Below(4); n < edits; ++n)
                ws.m_rom.m_pData[from + rng.Below(to - from)] = rng.Byte();
            if (rng.OneIn(5)) {
                guard.Restore();
            } else {
                guard.Commit(ws.m_codes);
            }
        }
        ASSERT_EQ(FirstDifference(Replayed(ws.m_codes)), -1) << "step " << step;
    }
    ASSERT_EQ(ws.Rewrite(), RewriteResult::Written);
    EXPECT_EQ(FirstDifference(ReadBytes(romPath)), -1);
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

// The history and the journal on seeded random sessions: whatever came before, the codes
// rebuild the image from the ROM as loaded, an in-place write leaves the file equal to the
// image, an undo gives back the state before its step, the journal alone brings it back.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "core/bytes.h"
#include "core/file_io.h"
#include "core/session.h"
#include "random_bytes.h"
#include "run_command.h"
#include "temp_dir.h"

namespace tsumugi {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::TitledRom;

struct Yes : WorkspaceQuestions {
    bool AcceptWrongTitle() override { return true; }
    bool AcceptExtend(uint32_t) override { return true; }
};

struct Snapshot {
    uint32_t imageCrc = 0;  // 0: not known (before a lengthening)
    PatchCodeList codes;
    std::vector<uint8_t> image;  // kept by the journal tests only
};

class HistoryProperty : public ::testing::Test {
protected:
    TempDir dir;
    Yes yes;
    Workspace ws;
    Session session{ws};
    std::vector<uint8_t> loaded;
    std::string romPath;
    std::set<uint32_t> dropped;  // bytes whose codes the user dropped with No

    // Contents are what is checked here, not durability: syncing would only cost time.
    ScopedFileOps noSync{[] { FileOps ops; ops.fsync = [](int) { return 0; }; return ops; }()};

    void SetUp() override {
        loaded = TitledRom(kGameDataEnd);
        romPath = dir.Write("rom.gba", loaded);
        session.SetFolder(dir.File("state"));
        ASSERT_TRUE(ws.LoadRom(romPath, yes));
        ASSERT_EQ(session.Open(), Session::Found::Nothing);
    }

    // The codes written over the ROM as loaded (lengthened with 0xFF) give the image: every
    // code holds the image's word, and every byte that differs from the ROM as loaded lies
    // under a code.
    void ExpectCodesRebuildImage(const std::string& when) {
        const uint8_t* image = ws.m_rom.m_pData;
        const uint32_t size = ws.m_rom.m_nSize, kChunk = 4096;
        for (const auto& [offset, value] : ws.m_codes) {
            ASSERT_LE(offset + 2u, size) << when;
            ASSERT_EQ(Read16(image + offset), value) << when << std::hex << " code 0x" << offset;
        }
        for (uint32_t at = 0; at < size; at += kChunk) {
            const uint32_t n = std::min<uint32_t>(kChunk, size - at);
            if (at + n <= loaded.size() && std::memcmp(image + at, loaded.data() + at, n) == 0) continue;
            for (uint32_t i = at; i < at + n; ++i) {
                const uint8_t was = i < loaded.size() ? loaded[i] : 0xFF;
                if (image[i] == was || dropped.count(i) || ws.m_codes.Find(i) || (i > 0 && ws.m_codes.Find(i - 1)))
                    continue;
                FAIL() << when << ": no code for the changed byte 0x" << std::hex << i;
            }
        }
    }
    uint32_t ImageCrc() const { return Crc32Of(ws.m_rom.m_pData, ws.m_rom.m_nSize); }
    void ExpectFileIsImage(const std::string& when) {
        const std::vector<uint8_t> file = ReadBytes(romPath);
        const size_t n = std::min<size_t>(file.size(), ws.m_rom.m_nSize);
        if (std::memcmp(file.data(), ws.m_rom.m_pData, n) == 0) return;
        for (size_t i = 0; i < n; ++i)
            if (file[i] != ws.m_rom.m_pData[i] && !dropped.count(static_cast<uint32_t>(i))) FAIL() << when << std::hex << " 0x" << i;
    }

    void Edit(test::RandomBytes& rnd) {
        const int category = static_cast<int>(rnd.Below(kCategoryCount));
        EditGuard guard;
        ASSERT_EQ(guard.Begin(ws.m_rom, category), EditGuard::BeginResult::Ok);
        const std::vector<DataRegion> regions = RegionsOf(category);
        const uint32_t writes = rnd.OneIn(8) ? 3000 : 1 + rnd.Below(12);
        for (uint32_t i = 0; i < writes; ++i) {
            const DataRegion& r = regions[rnd.Below(regions.size())];
            uint32_t at = r.offset + rnd.Below(r.length);
            if (ws.m_rom.m_nSize > kGameDataEnd && rnd.OneIn(6)) at = kGameDataEnd + rnd.Below(ws.m_rom.m_nSize - kGameDataEnd);
            ws.m_rom.m_pData[at] = rnd.OneIn(4) ? loaded.size() > at ? loaded[at] : 0xFF : rnd.Byte();
        }
        if (rnd.OneIn(5)) return guard.Restore();
        ASSERT_TRUE(session.CommitEdit(guard, category));
    }

    void LoadCodes(test::RandomBytes& rnd, int n) {
        std::string text;
        const bool extend = rnd.OneIn(10);
        for (int i = 0; i < 1 + static_cast<int>(rnd.Below(20)); ++i) {
            AppendCodeLine(text, extend && i == 0 ? ws.m_rom.m_nSize + rnd.Below(64) : 0x100 + rnd.Below(ws.m_rom.m_nSize - 0x102),
                           static_cast<uint16_t>(rnd.Next()));
        }
        const bool keep = ws.m_codes.Empty() || !rnd.OneIn(4);
        for (uint32_t i = 0; !keep && i < ws.m_rom.m_nSize; ++i)  // codes dropped on purpose
            if (ws.m_rom.m_pData[i] != (i < loaded.size() ? loaded[i] : 0xFF)) dropped.insert(i);
        const std::string path = dir.Write("codes" + std::to_string(n) + ".txt", text);
        ASSERT_EQ(session.LoadCodes(path, keep, yes), LoadCodesResult::Applied);
    }

    // A one-go command (a table import, say): bytes and codes changed together.
    void Command(test::RandomBytes& rnd) {
        const std::vector<uint8_t> before(ws.m_rom.m_pData, ws.m_rom.m_pData + ws.m_rom.m_nSize);
        const PatchCodeList codesBefore = ws.m_codes;
        for (int i = 0; i < 6; ++i) {
            const uint32_t at = 0x200 + 2 * rnd.Below((ws.m_rom.m_nSize - 0x202) / 2);
            Write16(ws.m_rom.m_pData + at, static_cast<uint16_t>(rnd.Next()));
            ws.m_codes.Record(at, Read16(ws.m_rom.m_pData + at));
        }
        ASSERT_TRUE(session.Record(MakeStep(StepKind::Command, "CSV読込", before.data(), ws.m_rom.m_pData,
                                            ws.m_rom.m_nSize, codesBefore, ws.m_codes)));
    }
};

TEST_F(HistoryProperty, EveryMixOfStepsKeepsCodesFileAndUndoTrue) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        session.Close();
        loaded = ReadBytes(romPath);
        dropped.clear();
        ASSERT_TRUE(ws.LoadRom(romPath, yes));
        if (session.Open() == Session::Found::Offer) session.Discard();
        test::RandomBytes rnd(seed);
        std::vector<Snapshot> done;  // the state before each step that can be undone
        for (int op = 0; op < 45; ++op) {
            const std::string when = "seed " + std::to_string(seed) + " op " + std::to_string(op);
            const Snapshot now{ImageCrc(), ws.m_codes, {}};
            const size_t sizeBefore = ws.m_rom.m_nSize;
            const size_t stepsBefore = session.GetHistory().Done();
            const uint32_t pick = rnd.Below(10);
            if (pick < 4) {
                Edit(rnd);
            } else if (pick == 4) {
                LoadCodes(rnd, op);
            } else if (pick == 5) {
                Command(rnd);
            } else if (pick == 6) {
                if (session.Rewrite() == RewriteResult::Written) ExpectFileIsImage(when + ": file after 上書き保存");
            } else if (pick < 9) {
                const bool could = session.GetHistory().NextUndo() != nullptr;
                ASSERT_EQ(session.Undo() != nullptr, could) << when;
                if (could && done.back().imageCrc != 0) {
                    EXPECT_TRUE(!dropped.empty() || ImageCrc() == done.back().imageCrc) << when << ": image after undo";
                    for (const auto& [offset, value] : done.back().codes)
                        EXPECT_EQ(ws.m_codes.Find(offset), value) << when << std::hex << " code 0x" << offset;
                }
                if (could) done.pop_back();
            } else {
                const Step* step = session.GetHistory().NextRedo();
                if (step != nullptr) done.push_back(now);
                ASSERT_EQ(session.Redo() != nullptr, step != nullptr) << when;
            }
            if (pick != 8 && pick != 9 && session.GetHistory().Done() > stepsBefore) done.push_back(now);
            // Lengthening: no way back past it; the load after it undoes to the longer image.
            if (ws.m_rom.m_nSize != sizeBefore) done.assign(session.GetHistory().Done(), Snapshot{});
            ASSERT_EQ(session.GetHistory().Done(), done.size()) << when;
            ExpectCodesRebuildImage(when);
            if (HasFatalFailure()) return;
        }
        // The journal alone, read by a second run on the same file, gives the same session.
        Workspace again;
        Session second(again);
        second.SetFolder(dir.File("state"));
        ASSERT_TRUE(again.LoadRom(romPath, yes));
        if (session.UnsavedCodes() > 0) {
            ASSERT_EQ(second.Open(), Session::Found::Offer) << seed;
            ASSERT_TRUE(second.Recover());
            EXPECT_EQ(Crc32Of(again.m_rom.m_pData, again.m_rom.m_nSize), ImageCrc()) << seed;
            EXPECT_EQ(DiffCodes(again.m_codes, ws.m_codes).size(), 0u) << seed;
            EXPECT_TRUE(again.m_original == ws.m_original) << seed;
            EXPECT_EQ(second.GetHistory().Done(), session.GetHistory().Done());
        }
        second.Close();
    }
}

// A session on a small ROM whose steps are one-go commands, journalled as they are done.
class JournalTest : public ::testing::Test {
protected:
    TempDir dir;
    Yes yes;
    std::string romPath;

    void SetUp() override { romPath = dir.Write("rom.gba", TitledRom(0x400)); }

    Session::Found Open(Workspace& ws, Session& session) {
        session.SetFolder(dir.File("state"));
        return ws.LoadRom(romPath, yes) ? session.Open() : Session::Found::Nothing;
    }
    // Three steps; the image and codes as loaded and after each.
    std::vector<Snapshot> RunSteps() {
        Workspace ws;
        Session session(ws);
        EXPECT_EQ(Open(ws, session), Session::Found::Nothing);
        std::vector<Snapshot> states{{0, {}, {ws.m_rom.m_pData, ws.m_rom.m_pData + ws.m_rom.m_nSize}}};
        for (uint32_t i = 0; i < 3; ++i) {
            for (uint32_t w = 0; w < 20; ++w) {
                const uint32_t at = 0x100 + 2 * ((i * 7 + w * 13) % 200);
                Write16(ws.m_rom.m_pData + at, static_cast<uint16_t>(0x1111 * (i + 1) + w));
                ws.m_codes.Record(at, Read16(ws.m_rom.m_pData + at));
            }
            EXPECT_TRUE(session.Record(MakeStep(StepKind::Command, "CSV読込", states.back().image.data(),
                                                ws.m_rom.m_pData, ws.m_rom.m_nSize, states.back().codes, ws.m_codes)));
            states.push_back({0, ws.m_codes, {ws.m_rom.m_pData, ws.m_rom.m_pData + ws.m_rom.m_nSize}});
        }
        return states;
    }
};

TEST_F(JournalTest, CutAnywhereInTheLastRecordRecoversTheStepBefore) {
    const std::vector<Snapshot> states = RunSteps();
    const std::string journal = JournalPathFor(dir.File("state"), romPath);
    const std::vector<uint8_t> whole = ReadBytes(journal);
    size_t lastStart = 0;
    ASSERT_EQ(ParseJournal(whole.data(), whole.size(), &lastStart).size(), 4u);
    ParseJournal(whole.data(), whole.size() - 1, &lastStart);
    for (size_t cut = lastStart; cut <= whole.size(); ++cut) {
        std::vector<uint8_t> torn(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        if (cut < whole.size() && cut > lastStart) torn.back() ^= 0x40;  // a torn write leaves rubbish
        dir.Write(journal.substr(dir.Path().size() + 1), torn);
        const size_t expected = cut == whole.size() ? 3 : 2;
        Workspace ws;
        Session session(ws);
        ASSERT_EQ(Open(ws, session), Session::Found::Offer) << cut;
        ASSERT_TRUE(session.Recover());
        EXPECT_TRUE(std::equal(states[expected].image.begin(), states[expected].image.end(), ws.m_rom.m_pData)) << cut;
        EXPECT_TRUE(DiffCodes(ws.m_codes, states[expected].codes).empty()) << cut;
        EXPECT_EQ(session.GetHistory().Done(), expected) << cut;
    }
}

TEST_F(JournalTest, RomChangedOnDiskSetsTheJournalAsideUnapplied) {
    std::vector<uint8_t> changed = RunSteps().front().image;
    changed[0x300] ^= 1;
    dir.Write("rom.gba", changed);
    Workspace ws;
    Session session(ws);
    ASSERT_EQ(Open(ws, session), Session::Found::SetAside);
    EXPECT_TRUE(std::equal(changed.begin(), changed.end(), ws.m_rom.m_pData));
    EXPECT_TRUE(ws.m_codes.Empty());
    EXPECT_TRUE(FileLength(JournalPathFor(dir.File("state"), romPath) + ".old").has_value());
    session.Close();  // told once: the fresh journal offers nothing the next time
    EXPECT_EQ(Open(ws, session), Session::Found::Nothing);
}

TEST_F(JournalTest, CommandLineListsTheStepsAndRecoversTheCodes) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    const std::vector<Snapshot> states = RunSteps();
    // The command line finds the journal where the editor puts it: in the state folder.
    const std::string env = "XDG_STATE_HOME=" + testing::ShellQuote(dir.Path()) + " ";
    std::rename(dir.File("state").c_str(), dir.File("tsumugi").c_str());
    const std::string cli = env + testing::ShellQuote(TSUMUGI_CLI_PATH);
    const testing::CommandRun show = testing::RunCommand(cli + " journal show " + testing::ShellQuote(romPath));
    ASSERT_EQ(show.code, 0);
    size_t lines = 0;
    for (size_t at = 0; (at = show.out.find("\tCSV読込\t20語\t", at)) != std::string::npos; ++at) ++lines;
    EXPECT_EQ(lines, 3u) << show.out;
    EXPECT_EQ(show.out.substr(0, 2), "1\t");
    const testing::CommandRun codes = testing::RunCommand(cli + " journal codes " + testing::ShellQuote(romPath) +
                                                          " -o " + testing::ShellQuote(dir.File("out.txt")));
    ASSERT_EQ(codes.code, 0);
    const std::vector<uint8_t> text = ReadBytes(dir.File("out.txt"));
    EXPECT_TRUE(DiffCodes(ParseCodeText(text.data(), text.size()), states.back().codes).empty());
}

}  // namespace
}  // namespace tsumugi

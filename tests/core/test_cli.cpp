// tsumugi-cli run as a program: the demo files it writes, decoding, names, the code-file
// round trip, and the refusals (usage, wrong title, short or missing files).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/demo_image.h"
#include "core/bytes.h"
#include "core/file_patcher.h"
#include "core/patch_code.h"
#include "demo/rom.h"
#include "core/run_command.h"
#include "core/temp_dir.h"

namespace tsumugi {
namespace {

using testing::ReadBytes;
using testing::ReadText;
using testing::TempDir;
using testing::TitledRom;

using Result = testing::CommandRun;
using testing::RunCommand;
constexpr auto Quote = testing::ShellQuote;

class CliTest : public ::testing::Test {
protected:
    // The demo files, copied once from the build's for all tests.
    static void SetUpTestSuite() { s_demo = new TempDir; }
    static void TearDownTestSuite() {
        delete s_demo;
        s_demo = nullptr;
    }

    void SetUp() override {
        TSUMUGI_NEEDS_POSIX_SHELL();
        ASSERT_FALSE(m_dir.Path().empty());
        m_rom = s_demo->File("demo.gba");
        m_table = s_demo->File("string.txt");
        if (!std::filesystem::exists(m_rom)) {
            ASSERT_TRUE(testing::CopyDemoFiles(s_demo->Path()));
        }
    }

    // Runs the program with the arguments; stdout and stderr captured apart. With stdoutTo
    // set, stdout goes to that file instead.
    Result Cli(const std::vector<std::string>& args, const std::string& stdoutTo = "") {
        std::string command = Quote(TSUMUGI_CLI_PATH);
        for (const std::string& a : args) command += " " + Quote(a);
        if (!stdoutTo.empty()) command += " >" + Quote(stdoutTo);
        command += " 2>" + Quote(m_dir.File("stderr.txt"));
        Result result = RunCommand(command);
        result.err = ReadText(m_dir.File("stderr.txt"));
        return result;
    }

    // The same with the demo's character table.
    Result Tool(std::vector<std::string> args) {
        args.insert(args.begin(), {"--table", m_table});
        return Cli(args);
    }

    std::string WriteRom(const std::string& name, const std::vector<uint8_t>& bytes) {
        return m_dir.Write(name, bytes);
    }

    static TempDir* s_demo;
    TempDir m_dir;
    std::string m_rom, m_table;
};

TempDir* CliTest::s_demo = nullptr;

TEST_F(CliTest, DemoWritesTheRomAndTable) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    ASSERT_EQ(Cli({"demo", m_dir.Path()}).code, 0);
    EXPECT_EQ(ReadBytes(m_dir.File("demo.gba")), demo::BuildRom());
    EXPECT_EQ(ReadText(m_dir.File("string.txt")), demo::StringTable());
    EXPECT_EQ(Cli({"demo", m_dir.File("a/b")}).code, 0) << "missing folders are created";
    EXPECT_EQ(ReadBytes(m_dir.File("a/b/demo.gba")).size(), demo::kDemoRomSize);
}

TEST_F(CliTest, DecodeReadsUnitZeroByOffsetOrBusAddress) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    for (const char* address : {"C390C", "080C390C", "0x080C390C"}) {
        const Result r = Tool({"decode", m_rom, address});
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, "アルテミス\n") << address;
    }
    const Result json = Tool({"decode", m_rom, "C390C", "--json"});
    EXPECT_EQ(json.out,
              "{\"text\":\"アルテミス\",\"status\":0,\"length\":6,\"error_pos\":0,\"error_text\":"
              "\"\"}\n");
    const Result cut = Tool({"decode", m_rom, "C390C", "--limit", "4"});
    EXPECT_EQ(cut.out, "アルテミ\n") << "four one-byte codes";
}

TEST_F(CliTest, DecodeShowsLineBreaksAndUnlistedCodes) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    const Result ace = Tool({"decode", m_rom, "D6688", "--json"});  // ace bonus 0: several lines
    EXPECT_EQ(ace.code, 0);
    EXPECT_NE(ace.out.find("％\\nＳＰ＋１０\\n"), std::string::npos) << ace.out;
    const uint32_t nickname = 0xCD360 + 92 * demo::kLockedPilot + 28;
    char address[16];
    std::snprintf(address, sizeof address, "%X", nickname);
    const Result locked = Tool({"decode", m_rom, address, "--json"});
    EXPECT_EQ(locked.code, 0);
    EXPECT_NE(locked.out.find("・\",\"status\":1"), std::string::npos) << locked.out;
    EXPECT_NE(locked.out.find("\"error_text\":\"F0 FD\""), std::string::npos) << locked.out;
}

TEST_F(CliTest, DecodeRefusesBadAddresses) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    char pastEnd[16];  // the bus address of the first byte after the demo image
    std::snprintf(pastEnd, sizeof pastEnd, "%X", kBusBase + demo::kDemoRomSize);
    for (const char* address : {"0X080C390C", "0A000000", "1000000", "zz", static_cast<const char*>(pastEnd)}) {
        const Result r = Tool({"decode", m_rom, address});
        EXPECT_EQ(r.code, 1) << address;
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_NE(Tool({"decode", m_rom, pastEnd}).err.find("past the end"), std::string::npos);
    EXPECT_EQ(Tool({"decode", m_rom, "FFFFFF"}).out, "\n") << "the last byte below 16 MiB";
}

TEST_F(CliTest, EncodeGivesTheGameBytes) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    const Result r = Tool({"encode", "アルテミスⅡ\\n出撃！"});
    ASSERT_EQ(r.code, 0) << r.err;
    const Result newline = Tool({"encode", "アルテミスⅡ\n出撃！"});
    EXPECT_EQ(newline.out, r.out);
    EXPECT_NE(r.out.find(" FE "), std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - 3), "FF\n");
    const Result json = Tool({"encode", "アアア", "--limit", "3", "--json"});
    EXPECT_EQ(json.code, 0);
    EXPECT_EQ(
        json.out,
        "{\"bytes\":\"5F 5F FF\",\"status\":2,\"length\":3,\"error_pos\":0,\"error_text\":\"\"}\n");
}

TEST_F(CliTest, EncodeFailsOnCharactersWithoutACode) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    const Result ascii = Tool({"encode", "アA"});
    EXPECT_EQ(ascii.code, 1);
    EXPECT_TRUE(ascii.out.empty());
    EXPECT_NE(ascii.err.find("byte 2"), std::string::npos) << ascii.err;
    const Result accent = Tool({"encode", "アé"});
    EXPECT_EQ(accent.code, 1);
    EXPECT_NE(accent.err.find("\"é\" at byte 2"), std::string::npos) << accent.err;
}

TEST_F(CliTest, NamesListsEveryIndex) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    const Result units = Tool({"names", m_rom, "unit"});
    ASSERT_EQ(units.code, 0) << units.err;
    EXPECT_EQ(units.out.rfind("0\tアルテミス\n1\tアルテミスⅡ\n", 0), 0u);
    EXPECT_EQ(std::count(units.out.begin(), units.out.end(), '\n'), 150);
    const Result chapters = Tool({"names", m_rom, "chapter"});
    EXPECT_NE(chapters.out.find("0\t第0話 プロローグ\n"), std::string::npos);
    EXPECT_NE(chapters.out.find("\n80\t\n"), std::string::npos) << "the chapter without a title";
    const Result aces = Tool({"names", m_rom, "ace-bonus"});
    EXPECT_NE(aces.out.find("0\t格闘＋５％\\nＳＰ＋１０\\n"), std::string::npos)
        << "line breaks as \\n";
    EXPECT_EQ(Tool({"names", m_rom, "mecha"}).code, 2);
}

TEST_F(CliTest, CodesRoundTripThroughDiffApplyAndWrite) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    std::vector<uint8_t> changed = testing::DemoImage();
    changed[0xC38C4] = 0x12;  // unit 0's maximum HP, one byte of a word
    changed[0xD7CC1] = 0x01;  // an odd byte in weapon 0's name
    const std::string newRom = WriteRom("new.gba", changed);
    const std::string codes = m_dir.File("codes.txt");
    const Result toFile = Cli({"codes", "diff", m_rom, newRom, "-o", codes});
    ASSERT_EQ(toFile.code, 0) << toFile.err;
    const Result toStdout = Cli({"codes", "diff", m_rom, newRom});
    EXPECT_EQ(toStdout.out, ReadText(codes));
    EXPECT_EQ(toStdout.out.substr(0, 15),
              "080C38C4:" + std::string(toStdout.out.substr(9, 4)) + "\r\n");
    EXPECT_EQ(std::count(toStdout.out.begin(), toStdout.out.end(), '\n'), 2);

    const std::string out = m_dir.File("out.gba");
    ASSERT_EQ(Cli({"codes", "apply", m_rom, codes, "-o", out}).code, 0);
    EXPECT_EQ(ReadBytes(out), changed);

    const std::string inPlace = WriteRom("inplace.gba", testing::DemoImage());
    ASSERT_EQ(Cli({"codes", "write", inPlace, codes}).code, 0);
    EXPECT_EQ(ReadBytes(inPlace), changed);
}

TEST_F(CliTest, CodesPastTheEndLengthenOnlyWithExtend) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    std::vector<uint8_t> longer = testing::DemoImage();
    longer.insert(longer.end(), {0xAA, 0xBB, 0xCC, 0xDD});
    const std::string newRom = WriteRom("long.gba", longer);
    const std::string codes = m_dir.File("codes.txt");
    ASSERT_EQ(Cli({"codes", "diff", m_rom, newRom, "-o", codes}).code, 0);
    char expected[64], length[16];
    std::snprintf(expected, sizeof expected, "%08X:BBAA\r\n%08X:DDCC\r\n", kBusBase + demo::kDemoRomSize,
                  kBusBase + demo::kDemoRomSize + 2);
    std::snprintf(length, sizeof length, "0x%08X", demo::kDemoRomSize + 4);
    EXPECT_EQ(ReadText(codes), expected);

    const std::string out = m_dir.File("out.gba");
    const Result refused = Cli({"codes", "apply", m_rom, codes, "-o", out});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find(length), std::string::npos) << refused.err;
    ASSERT_EQ(Cli({"codes", "apply", m_rom, codes, "-o", out, "--extend"}).code, 0);
    EXPECT_EQ(ReadBytes(out), longer);

    const std::string inPlace = WriteRom("inplace.gba", testing::DemoImage());
    const Result written = Cli({"codes", "write", inPlace, codes});
    EXPECT_EQ(written.code, 0);
    EXPECT_NE(written.err.find("2 code(s)"), std::string::npos) << written.err;
    EXPECT_EQ(ReadBytes(inPlace), testing::DemoImage()) << "the file keeps its length and bytes";
}

// diff walks the files a window at a time; codes at and across the window edges, odd ends
// and an OLD shorter or longer than NEW come out as the core's own diff of the whole images.
TEST_F(CliTest, CodesDiffGivesTheWholeImageDiffAcrossWindowsAndOddEnds) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    constexpr uint32_t kMiB = 1u << 20;
    const struct {
        const char* what;
        uint32_t oldSize, newSize;
        std::vector<uint32_t> changed;  // bytes of NEW changed from the pattern
        bool warnsShorter;
    } cases[] = {
        {"window edges",
         3 * kMiB,
         3 * kMiB,
         {kMiB - 2, kMiB - 1, kMiB, 2 * kMiB + 1, 3 * kMiB - 1},
         false},
        {"odd OLD, longer odd NEW",
         kMiB + 0x8001,
         2 * kMiB + 3,
         {kMiB + 0x8000, 2 * kMiB + 2},
         false},
        {"NEW shorter", 2 * kMiB, kMiB + 5, {0x100, kMiB + 4}, true},
        {"no change", 2 * kMiB, 2 * kMiB, {}, false},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> before = TitledRom(c.oldSize);
        std::vector<uint8_t> after = TitledRom(c.newSize);
        for (const uint32_t at : c.changed) after[at] ^= 0x5A;
        std::vector<uint8_t> padded(c.newSize, 0xFF);
        std::copy_n(before.begin(), std::min(c.oldSize, c.newSize), padded.begin());
        PatchCodeList model;
        DiffRegion(padded.data(), after.data(), 0, c.newSize, model);

        const std::string oldRom = WriteRom("old.gba", before), newRom = WriteRom("new.gba", after);
        const Result printed = Cli({"codes", "diff", oldRom, newRom});
        ASSERT_EQ(printed.code, 0) << c.what << ": " << printed.err;
        EXPECT_EQ(printed.out, CodeText(model)) << c.what;
        EXPECT_EQ(printed.err.find("is shorter than") != std::string::npos, c.warnsShorter)
            << c.what;
        const std::string codes = m_dir.File("codes.txt");
        ASSERT_EQ(Cli({"codes", "diff", oldRom, newRom, "-o", codes}).code, 0) << c.what;
        EXPECT_EQ(ReadText(codes), printed.out) << c.what;
    }
}

// apply and write look only at the header, yet refuse exactly what reading the ROM refuses,
// and leave a refused file as it was.
TEST_F(CliTest, CodesApplyAndWriteRefuseBadRomsFromTheHeaderAlone) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    std::vector<uint8_t> changed = testing::DemoImage();
    changed[0xC38C4] ^= 0x01;
    const std::string codes = m_dir.File("codes.txt");
    ASSERT_EQ(Cli({"codes", "diff", m_rom, WriteRom("new.gba", changed), "-o", codes}).code, 0);
    std::vector<uint8_t> otherTitle = testing::DemoImage();
    otherTitle[0xA1] = 'Q';
    const struct {
        const char* what;
        std::vector<uint8_t> rom;
        const char* message;
    } cases[] = {
        {"another title", otherTitle, "is not a ROM of this game"},
        {"too short for a title", std::vector<uint8_t>(0xA4, 0x11),
         "too short to hold a cartridge title"},
        {"empty", {}, "is empty"},
    };
    for (const auto& c : cases) {
        for (const char* command : {"apply", "write"}) {
            const std::string rom = WriteRom("bad.gba", c.rom);
            const std::string out = m_dir.File("out.gba");
            std::filesystem::remove(out);
            std::vector<std::string> args = {"codes", command, rom, codes};
            if (std::string(command) == "apply") args.insert(args.end(), {"-o", out});
            const Result r = Cli(args);
            EXPECT_EQ(r.code, 1) << c.what << " " << command;
            EXPECT_NE(r.err.find(c.message), std::string::npos)
                << c.what << " " << command << ": " << r.err;
            EXPECT_EQ(ReadBytes(rom), c.rom) << c.what << " " << command;
            EXPECT_FALSE(std::filesystem::exists(out)) << c.what << " " << command;
        }
    }
    for (const std::vector<std::string>& tail :
         {std::vector<std::string>{codes, "-o", m_dir.File("x")},
          std::vector<std::string>{codes}}) {
        const std::string command = tail.size() > 1 ? "apply" : "write";
        for (const std::string& rom : {m_dir.File("missing.gba"), m_dir.Path()}) {
            std::vector<std::string> args = {"codes", command, rom};
            args.insert(args.end(), tail.begin(), tail.end());
            const Result r = Cli(args);
            EXPECT_EQ(r.code, 1) << command << " " << rom;
            EXPECT_NE(r.err.find("the ROM file"), std::string::npos) << command << ": " << r.err;
        }
    }

    const std::string forced = WriteRom("forced.gba", otherTitle);
    const Result written = Cli({"codes", "write", forced, codes, "--force"});
    EXPECT_EQ(written.code, 0) << written.err;
    EXPECT_NE(written.err.find("not this game's title"), std::string::npos) << written.err;
    otherTitle[0xC38C4] ^= 0x01;
    EXPECT_EQ(ReadBytes(forced), otherTitle);
}

TEST_F(CliTest, CodesApplyMayWriteOverItsOwnRom) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    std::vector<uint8_t> changed = testing::DemoImage();
    changed[0xC38C4] ^= 0x01;
    changed[demo::kDemoRomSize - 1] ^= 0x80;
    const std::string codes = m_dir.File("codes.txt");
    ASSERT_EQ(Cli({"codes", "diff", m_rom, WriteRom("new.gba", changed), "-o", codes}).code, 0);
    const std::string rom = WriteRom("rom.gba", testing::DemoImage());
    const Result r = Cli({"codes", "apply", rom, codes, "-o", rom});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadBytes(rom), changed);
}

TEST(CliWriteReport, NamesRunsOfCodesThatMetTheSameFate) {
    PatchCodeList codes;
    for (const uint32_t offset : {0x100u, 0x102u, 0x104u, 0x200u, 0x202u, 0x300u})
        codes.Set(offset, 1);
    const struct {
        const char* what;
        ApplyReport report;
        std::string expected;
    } cases[] = {
        {"cut in the middle, the last past the end",
         {{0x100, 0x102}, {0x104, 0x200, 0x202}, "write: No space left on device"},
         "2 of 6 code(s) written, 3 not written (write: No space left on device):\n"
         "  written      08000100-08000102  2 code(s)\n"
         "  not written  08000104-08000202  3 code(s)\n"
         "  past the end 08000300  1 code(s)\n"},
        {"nothing written",
         {{}, {0x100, 0x102, 0x104, 0x200, 0x202, 0x300}, "open: Permission denied"},
         "0 of 6 code(s) written, 6 not written (open: Permission denied):\n"
         "  not written  08000100-08000300  6 code(s)\n"},
        {"all written, the sync failed",
         {{0x100, 0x102, 0x104, 0x200, 0x202}, {}, "fsync: Input/output error"},
         "all 5 code(s) inside the file were handed to it, but the sync or close that follows "
         "failed "
         "(fsync: Input/output error): they are not known to be on disk\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cli::DescribeFailedWrite(codes, c.report), c.expected) << c.what;
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"decode", m_rom},
        {"decode", m_rom, "C390C", "--limit", "0"},
        {"encode", "ア", "--limit", "16777217"},
        {"decode", m_rom, "C390C", "--limit"},
        {"decode", m_rom, "C390C", "--bogus"},
        {"encode", "ア", "--extend"},
        {"codes", "apply", m_rom, "codes.txt"},
        {"codes", "merge", m_rom, m_rom},
        {"frobnicate"},
    };
    for (const auto& args : bad) {
        const Result r = Cli(args);
        EXPECT_EQ(r.code, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("usage:"), std::string::npos);
    }
    const Result help = Cli({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("usage:", 0), 0u);
}

TEST_F(CliTest, WrongTitleIsRefusedWithoutForce) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    std::vector<uint8_t> other = testing::DemoImage();
    other[0xA0] = 'Q';
    const std::string path = WriteRom("other.gba", other);
    const Result refused = Tool({"decode", path, "C390C"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_EQ(Tool({"names", path, "unit"}).code, 1);
    EXPECT_EQ(Cli({"codes", "diff", m_rom, path}).code, 1);
    const Result forced = Tool({"decode", path, "C390C", "--force"});
    EXPECT_EQ(forced.code, 0);
    EXPECT_EQ(forced.out, "アルテミス\n");
}

TEST_F(CliTest, ShortMissingAndEmptyFilesFailCleanly) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    std::vector<uint8_t> rom = testing::DemoImage();
    rom.resize(0x80);
    const std::string shortRom = WriteRom("short.gba", rom);
    const Result tooShort = Tool({"decode", shortRom, "10"});
    EXPECT_EQ(tooShort.code, 1);
    EXPECT_NE(tooShort.err.find("too short"), std::string::npos) << tooShort.err;
    EXPECT_EQ(Tool({"decode", shortRom, "C390C", "--force"}).code, 1) << "past the end";
    const Result names = Tool({"names", shortRom, "unit", "--force"});
    EXPECT_EQ(names.code, 0);
    EXPECT_EQ(names.out.rfind("0\tError\n", 0), 0u) << "names outside the image read as Error";
    EXPECT_NE(names.err.find("before the end of the unit name table at 0x000C75B4"),
              std::string::npos) << names.err;
    EXPECT_EQ(Tool({"names", m_rom, "unit"}).err, "") << "the whole table is there";

    rom = testing::DemoImage();
    rom.resize(0xC3910);  // ends inside unit 0's name
    const Result cut = Tool({"decode", WriteRom("cut.gba", rom), "C390C"});
    EXPECT_EQ(cut.code, 0);
    EXPECT_EQ(cut.out, "アルテミ\n");

    EXPECT_EQ(Tool({"decode", m_dir.File("missing.gba"), "0"}).code, 1);
    EXPECT_EQ(Tool({"decode", WriteRom("empty.gba", {}), "0"}).code, 1);
    EXPECT_EQ(Cli({"codes", "apply", m_rom, m_dir.File("missing.txt"), "-o", m_dir.File("x")}).code,
              1);
    const Result noTable = Cli({"--table", m_dir.File("none.txt"), "decode", m_rom, "C390C"});
    EXPECT_EQ(noTable.code, 1);
    EXPECT_NE(noTable.err.find("character table"), std::string::npos);
}

TEST_F(CliTest, OutputThatCannotBeWrittenIsAFailure) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    std::vector<uint8_t> changed = testing::DemoImage();
    changed[0xC38C4] ^= 0x01;
    const std::string newRom = WriteRom("new.gba", changed);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"codes", "diff", m_rom, newRom},
          std::vector<std::string>{"--table", m_table, "names", m_rom, "weapon"}}) {
        const Result full = Cli(args, "/dev/full");
        EXPECT_EQ(full.code, 1) << args[0];
        EXPECT_NE(full.err.find("cannot write the output"), std::string::npos) << full.err;
    }
}

}  // namespace
}  // namespace tsumugi

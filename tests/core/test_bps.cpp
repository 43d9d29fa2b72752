// BPS patches: the number encoding, codes -> patch -> apply round trips, patches built by
// hand from every action, and damaged or foreign patches and sources; and the command
// line's "codes export" and "patch apply" for both formats.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/bps.h"
#include "core/bytes.h"
#include "core/patch_target.h"
#include "run_command.h"
#include "temp_dir.h"

namespace tsumugi {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

uint32_t Crc(const std::vector<uint8_t>& bytes) {
    return static_cast<uint32_t>(crc32_z(0, bytes.empty() ? Z_NULL : bytes.data(), bytes.size()));
}

void AppendLe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A BPS patch put together action by action; Finish adds the three checksums.
struct BpsBuilder {
    std::vector<uint8_t> bytes = Bytes("BPS1");

    BpsBuilder(uint64_t sourceSize, uint64_t targetSize) { Num(sourceSize).Num(targetSize).Num(0); }
    BpsBuilder& Num(uint64_t value) { return AppendBpsNumber(value, bytes), *this; }
    BpsBuilder& Action(uint64_t kind, uint64_t length) { return Num(((length - 1) << 2) | kind); }
    BpsBuilder& Data(const std::string& text) {
        return bytes.insert(bytes.end(), text.begin(), text.end()), *this;
    }
    BpsBuilder& Distance(int64_t d) {
        return Num(d < 0 ? (static_cast<uint64_t>(-d) << 1) | 1 : static_cast<uint64_t>(d) << 1);
    }
    std::vector<uint8_t> Finish(uint32_t sourceCrc, uint32_t targetCrc) const {
        std::vector<uint8_t> out = bytes;
        AppendLe32(out, sourceCrc);
        AppendLe32(out, targetCrc);
        AppendLe32(out, Crc(out));
        return out;
    }
    std::vector<uint8_t> Finish(const std::string& source, const std::string& target) const {
        return Finish(Crc(Bytes(source)), Crc(Bytes(target)));
    }
};

constexpr uint64_t kSourceRead = 0, kTargetRead = 1, kSourceCopy = 2, kTargetCopy = 3;

PatchOutcome Apply(const std::vector<uint8_t>& patch, const std::vector<uint8_t>& source,
                   bool force = false) {
    return ApplyBps(patch.data(), patch.size(), source.data(), source.size(), force);
}

std::vector<uint8_t> With(std::vector<uint8_t> bytes, size_t at, int value) {
    bytes.at(at) = static_cast<uint8_t>(value);
    return bytes;
}

// A patch's bytes with its own checksum made right again after an edit.
std::vector<uint8_t> Resealed(std::vector<uint8_t> patch) {
    patch.resize(patch.size() - 4);
    AppendLe32(patch, Crc(patch));
    return patch;
}

TEST(BpsNumber, EncodesEveryValueOnceAndRefusesMoreThan64Bits) {
    for (const uint64_t value :
         {uint64_t{0}, uint64_t{127}, uint64_t{128}, uint64_t{16511}, uint64_t{16512},
          uint64_t{1} << 32, ~uint64_t{0} - 1, ~uint64_t{0}}) {
        std::vector<uint8_t> bytes;
        AppendBpsNumber(value, bytes);
        size_t pos = 0;
        EXPECT_EQ(ReadBpsNumber(bytes.data(), bytes.size(), &pos), value);
        EXPECT_EQ(pos, bytes.size()) << value;
        pos = 0;
        EXPECT_FALSE(ReadBpsNumber(bytes.data(), bytes.size() - 1, &pos)) << value << " cut short";
    }
    std::vector<uint8_t> max;
    AppendBpsNumber(~uint64_t{0}, max);
    max.back() += 1;
    for (const std::vector<uint8_t>& bytes :
         {std::vector<uint8_t>(10, 0x00), std::vector<uint8_t>(11, 0x7F), max}) {
        size_t pos = 0;
        EXPECT_FALSE(ReadBpsNumber(bytes.data(), bytes.size(), &pos)) << bytes.size();
    }
}

TEST(BpsPatch, CodesAndAnyTargetRoundTrip) {
    const std::vector<uint8_t> rom = testing::TitledRom(0x400);
    const struct {
        const char* name;
        std::vector<std::pair<uint32_t, uint16_t>> codes;
        std::vector<std::pair<uint32_t, uint8_t>> bytes;  // what the target holds there
    } kCases[] = {
        {"no codes", {}, {{0x3FF, rom[0x3FF]}}},
        {"odd neighbours: the later code wins the shared byte",
         {{0x21, 0xAAAA}, {0x22, 0xBBBB}},
         {{0x21, 0xAA}, {0x22, 0xBB}, {0x23, 0xBB}, {0x3FF, rom[0x3FF]}}},
        {"lengthening with 0xFF",
         {{0x10, 0x0102}, {0x1001, 0xBEEF}},
         {{0x10, 2}, {0x400, 0xFF}, {0x1002, 0xBE}}},
    };
    for (const auto& c : kCases) {
        PatchCodeList codes;
        for (const auto& [offset, value] : c.codes) codes.Set(offset, value);
        const std::vector<uint8_t> target = *ApplyCodesExtending(rom.data(), rom.size(), codes);
        EXPECT_EQ(target.size(), c.bytes.back().first + 1u) << c.name;
        for (const auto& [offset, value] : c.bytes) EXPECT_EQ(target.at(offset), value) << c.name;
        const PatchOutcome patch =
            MakePatchFromCodes(PatchFormat::Bps, rom.data(), rom.size(), codes);
        const PatchOutcome applied =
            ApplyPatch(patch.bytes.data(), patch.bytes.size(), rom.data(), rom.size(), false);
        ASSERT_TRUE(applied.Ok()) << c.name << applied.reason;
        EXPECT_EQ(applied.bytes, target) << c.name;
    }

    std::vector<uint8_t> counting(5000), edited;
    for (size_t i = 0; i < counting.size(); ++i) counting[i] = static_cast<uint8_t>(i * 13 + i / 7);
    edited = counting;
    edited[100] ^= 0x55;
    std::fill(edited.begin() + 2000, edited.begin() + 2600, 0xFF);
    edited.insert(edited.end(), 3000, 0xFF);
    const struct {
        const char* name;
        std::vector<uint8_t> source, target;
        size_t largestPatch;  // runs and stretches equal to the source cost no data
    } kPairs[] = {
        {"from nothing", {}, counting, counting.size() + 32},
        {"to nothing", counting, {}, 32},
        {"edited, with runs", counting, edited, 64},
        {"cut short", edited, counting, 700},
    };
    for (const auto& c : kPairs) {
        const PatchOutcome patch =
            MakeBps(c.source.data(), c.source.size(), c.target.data(), c.target.size());
        EXPECT_LE(patch.bytes.size(), c.largestPatch) << c.name;
        const PatchOutcome applied = Apply(patch.bytes, c.source);
        ASSERT_TRUE(applied.Ok()) << c.name << applied.reason;
        EXPECT_EQ(applied.bytes, c.target) << c.name;
    }
}

TEST(BpsPatch, HandMadeActionsIncludingBackwardAndOverlappingCopies) {
    const struct {
        const char* name;
        std::string source, target;
        std::function<void(BpsBuilder&)> actions;
    } kCases[] = {
        {"source copies forward, back to the start, forward", "ABCDEFGH", "EFGHABCDGH",
         [](BpsBuilder& b) {
             b.Action(kSourceCopy, 4).Distance(4);   // cursor 4 -> 8
             b.Action(kSourceCopy, 4).Distance(-8);  // back to 0
             b.Action(kSourceCopy, 2).Distance(2);   // 4 + 2 = 6
         }},
        {"target copy overlapping its own output", "", "abababab",
         [](BpsBuilder& b) {
             b.Action(kTargetRead, 2).Data("ab").Action(kTargetCopy, 6).Distance(0);
         }},
        {"target copy with a negative distance", "", "xyzyzx",
         [](BpsBuilder& b) {
             b.Action(kTargetRead, 3).Data("xyz");
             b.Action(kTargetCopy, 2).Distance(1);   // from 1: "yz", cursor 3
             b.Action(kTargetCopy, 1).Distance(-3);  // from 0: "x"
         }},
        {"metadata is skipped", "Q", "Q",
         [](BpsBuilder& b) {
             b.bytes.pop_back();
             b.Num(3).Data("<m>").Action(kSourceRead, 1);
         }},
    };
    for (const auto& c : kCases) {
        BpsBuilder builder(c.source.size(), c.target.size());
        c.actions(builder);
        const PatchOutcome applied = Apply(builder.Finish(c.source, c.target), Bytes(c.source));
        ASSERT_TRUE(applied.Ok()) << c.name << ": " << applied.reason;
        EXPECT_EQ(applied.bytes, Bytes(c.target)) << c.name;
    }
}

TEST(BpsPatch, DamagedOrMalformedPatchesAreRefused) {
    const std::string source = "ABCDEFGH", target = "ABCDxy";
    const auto valid = [&] {
        BpsBuilder b(8, 6);
        b.Action(kSourceRead, 4).Action(kTargetRead, 2).Data("xy");
        return b;
    };
    const auto made = [&](const std::function<void(BpsBuilder&)>& edit, uint64_t targetSize = 6) {
        BpsBuilder b(8, targetSize);
        edit(b);
        return b.Finish(source, target);
    };
    const std::vector<uint8_t> whole = valid().Finish(source, target);
    const struct {
        const char* name;
        std::vector<uint8_t> patch;
        PatchStatus status;
    } kCases[] = {
        {"bad magic", Resealed(With(whole, 3, '2')), PatchStatus::BadMagic},
        {"a flipped data byte", With(whole, 9, whole[9] ^ 1), PatchStatus::PatchCrc},
        {"the target checksum wrong", valid().Finish(Crc(Bytes(source)), Crc(Bytes(target)) + 1),
         PatchStatus::TargetCrc},
        {"a number overflowing 64 bits", made([](BpsBuilder& b) {
             b.bytes.insert(b.bytes.end(), 10, 0x7F);
             b.bytes.push_back(0x80);
         }),
         PatchStatus::Malformed},
        {"a target above 64 MiB", made([](BpsBuilder&) {}, uint64_t{65} << 20),
         PatchStatus::TooLarge},
        {"metadata past the end",
         [&] {
             BpsBuilder b(8, 6);
             b.bytes.pop_back();
             b.Num(1000);
             return b.Finish(source, target);
         }(),
         PatchStatus::Malformed},
        {"source read past the source",
         made(
             [](BpsBuilder& b) {
                 b.Action(kTargetRead, 8).Data("ABCDEFGH").Action(kSourceRead, 2);
             },
             10),
         PatchStatus::Malformed},
        {"an action longer than the target", made([](BpsBuilder& b) { b.Action(kSourceRead, 7); }),
         PatchStatus::Malformed},
        {"a length of 2^62", made([](BpsBuilder& b) { b.Num(~uint64_t{0} - 2); }),
         PatchStatus::Malformed},
        {"target read past the patch",
         made([](BpsBuilder& b) { b.Action(kTargetRead, 6).Data("xy"); }), PatchStatus::Malformed},
        {"source copy before the start",
         made([](BpsBuilder& b) { b.Action(kSourceCopy, 2).Distance(-1); }),
         PatchStatus::Malformed},
        {"source copy past the end",
         made([](BpsBuilder& b) { b.Action(kSourceCopy, 2).Distance(7); }), PatchStatus::Malformed},
        {"source copy by 2^63 - 1",
         made([](BpsBuilder& b) { b.Action(kSourceCopy, 1).Num(~uint64_t{0} - 1); }),
         PatchStatus::Malformed},
        {"target copy of unwritten bytes", made([](BpsBuilder& b) {
             b.Action(kTargetRead, 1).Data("A").Action(kTargetCopy, 2).Distance(1);
         }),
         PatchStatus::Malformed},
        {"a copy without its distance",
         made([](BpsBuilder& b) { b.Action(kSourceRead, 4).Action(kTargetCopy, 2); }),
         PatchStatus::Malformed},
        {"actions stop short of the target", made([](BpsBuilder& b) { b.Action(kSourceRead, 4); }),
         PatchStatus::Malformed},
    };
    for (const auto& c : kCases) {
        const PatchOutcome outcome = Apply(c.patch, Bytes(source));
        EXPECT_EQ(outcome.status, c.status) << c.name << ": " << outcome.reason;
    }

    ASSERT_TRUE(Apply(whole, Bytes(source)).Ok());
    for (size_t length = 0; length < whole.size(); ++length) {
        const std::vector<uint8_t> cut(whole.begin(),
                                       whole.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(Apply(cut, Bytes(source)).Ok()) << "cut to " << length << " bytes";
    }
}

TEST(BpsPatch, WrongSourceIsRefusedUnlessForcedAndTheResultIsStillChecked) {
    const std::string source = "ABCDEFGH", target = "ABCDxyGH";
    BpsBuilder reads(8, 8);  // needs the source's bytes
    reads.Action(kSourceRead, 4).Action(kTargetRead, 2).Data("xy").Action(kSourceRead, 2);
    BpsBuilder writes(8, 8);  // needs none of them
    writes.Action(kTargetRead, 8).Data(target);
    const struct {
        const char* name;
        std::vector<uint8_t> patch;
        std::string source;
        bool force;
        PatchStatus status;
    } kCases[] = {
        {"right source", reads.Finish(source, target), source, false, PatchStatus::Ok},
        {"one byte differs", reads.Finish(source, target), "ABCDEFGX", false,
         PatchStatus::WrongSource},
        {"longer", reads.Finish(source, target), source + "!", false, PatchStatus::WrongSource},
        {"forced, but the result is wrong", reads.Finish(source, target), "ABCDEFGX", true,
         PatchStatus::TargetCrc},
        {"forced onto bytes the patch never reads", writes.Finish(source, target), "abcdefgh", true,
         PatchStatus::Ok},
        {"forced onto a source too short to read", reads.Finish(source, target), "ABC", true,
         PatchStatus::Malformed},
    };
    for (const auto& c : kCases) {
        const PatchOutcome outcome = Apply(c.patch, Bytes(c.source), c.force);
        EXPECT_EQ(outcome.status, c.status) << c.name << ": " << outcome.reason;
        if (outcome.Ok()) {
            EXPECT_EQ(outcome.bytes, Bytes(target)) << c.name;
        }
    }
}

// ---- tsumugi-cli codes export / patch apply ---------------------------------------------

struct CliRun {
    int code;
    std::string err;
};

CliRun RunCli(const testing::TempDir& dir, const std::vector<std::string>& args) {
    std::string command = "'" TSUMUGI_CLI_PATH "'";
    for (const std::string& a : args) command += " '" + a + "'";
    command += " >/dev/null 2>'" + dir.File("stderr.txt") + "'";
    return {testing::RunCommand(command).code, testing::ReadText(dir.File("stderr.txt"))};
}

TEST(PatchCli, ExportAndApplyGiveWhatCodesApplyGives) {
    TSUMUGI_NEEDS_POSIX_SHELL();
    testing::TempDir dir;
    ASSERT_FALSE(dir.Path().empty());
    const std::vector<uint8_t> rom = testing::TitledRom(0x400);
    std::vector<uint8_t> other = rom;
    other[0x300] ^= 1;
    const std::string romPath = dir.Write("rom.gba", rom),
                      otherPath = dir.Write("other.gba", other);
    const std::string bigPath = dir.Write("big.gba", testing::TitledRom(0x1000100));
    const std::string codes =
        dir.Write("codes.txt", std::string("08000010:1234\r\n08000801:BEEF\r\n"));
    const std::string farCodes =
        dir.Write("far.txt", std::string("08000010:1234\r\n09000010:BEEF\r\n"));
    const std::string bps = dir.File("out.bps"), ips = dir.File("out.ips");
    ASSERT_EQ(
        RunCli(dir, {"codes", "apply", romPath, codes, "-o", dir.File("want.gba"), "--extend"})
            .code,
        0);

    const struct {
        const char* name;
        std::vector<std::string> args;
        int code;
        std::string output;  // a file the run must write as codes apply does, or must not leave
        std::string errorHas;
    } kCases[] = {
        {"neither format", {"codes", "export", romPath, codes}, 2, "", "exactly one"},
        {"both formats",
         {"codes", "export", romPath, codes, "--bps", bps, "--ips", ips},
         2,
         "",
         "exactly one"},
        {"export BPS", {"codes", "export", romPath, codes, "--bps", bps}, 0, "", ""},
        {"export IPS", {"codes", "export", romPath, codes, "--ips", ips}, 0, "", ""},
        {"from a ROM that holds every code already",
         {"codes", "export", dir.File("want.gba"), codes, "--bps", dir.File("same.bps")},
         0,
         "",
         "already holds every code"},
        {"apply BPS", {"patch", "apply", romPath, bps, "-o", dir.File("a.gba")}, 0, "a.gba", ""},
        {"apply IPS", {"patch", "apply", romPath, ips, "-o", dir.File("b.gba")}, 0, "b.gba", ""},
        {"apply needs -o", {"patch", "apply", romPath, bps}, 2, "", "-o"},
        {"BPS on another ROM",
         {"patch", "apply", otherPath, bps, "-o", dir.File("c.gba")},
         1,
         "c.gba",
         "--force"},
        {"forced, the result is still checked",
         {"patch", "apply", otherPath, bps, "-o", dir.File("c.gba"), "--force"},
         1,
         "c.gba",
         "CRC32"},
        {"IPS on another ROM",
         {"patch", "apply", otherPath, ips, "-o", dir.File("d.gba")},
         0,
         "",
         ""},
        {"not a patch",
         {"patch", "apply", romPath, codes, "-o", dir.File("e.gba")},
         1,
         "e.gba",
         "not a BPS or IPS"},
        {"unwritable output",
         {"patch", "apply", romPath, bps, "-o", dir.File("no/such/f.gba")},
         1,
         "",
         "cannot write"},
        {"IPS past 16 MiB",
         {"codes", "export", bigPath, farCodes, "--ips", dir.File("far.ips")},
         1,
         "far.ips",
         "0x09000010"},
        {"BPS past 16 MiB",
         {"codes", "export", bigPath, farCodes, "--bps", dir.File("far.bps")},
         0,
         "",
         ""},
    };
    for (const auto& c : kCases) {
        const CliRun run = RunCli(dir, c.args);
        EXPECT_EQ(run.code, c.code) << c.name << ": " << run.err;
        EXPECT_NE(run.err.find(c.errorHas), std::string::npos) << c.name << ": " << run.err;
        if (c.output.empty()) continue;
        if (c.code == 0) {
            EXPECT_EQ(testing::ReadBytes(dir.File(c.output)),
                      testing::ReadBytes(dir.File("want.gba")))
                << c.name;
        } else {
            EXPECT_FALSE(std::filesystem::exists(dir.File(c.output))) << c.name;
        }
    }
    // The IPS patch carries the coded words, so it codes another copy as well.
    std::vector<uint8_t> otherWant = testing::ReadBytes(dir.File("want.gba"));
    otherWant[0x300] ^= 1;
    EXPECT_EQ(testing::ReadBytes(dir.File("d.gba")), otherWant);
}

}  // namespace
}  // namespace tsumugi

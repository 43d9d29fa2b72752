// The code-file commands: diff two ROMs into codes, apply codes to a copy, write codes into a
// ROM file in place.
//
// A ROM is 32 MiB and a code file a few thousand lines, so these commands never hold a ROM
// twice: diff maps both files and walks them a window at a time, giving back each window's
// pages once compared; apply reads, patches and writes the ROM a piece at a time; write
// looks at the ROM's header only and patches the words in place.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/cli.h"
#include "core/bytes.h"
#include "core/file_io.h"
#include "core/file_patcher.h"
#include "core/mapped_file.h"
#include "core/patch_code.h"
#include "core/patched_copy.h"

namespace tsumugi::cli {
namespace {

constexpr uint32_t kCodeReach = 0x2000000;  // code files hold bus addresses below 0x0A000000
constexpr uint32_t kWordBytes = 2;
// diff compares this much of the two files at a time; even, so no word straddles two windows.
constexpr uint32_t kDiffWindow = 1u << 20;
// diff hands its text to stdout whenever this much has gathered.
constexpr size_t kPrintPiece = 1u << 20;
constexpr uint8_t kFillByte = 0xFF;  // what a lengthened ROM holds past its old end

std::optional<PatchCodeList> ReadCodes(const std::string& path) {
    std::optional<PatchCodeList> codes = ReadCodeFile(path);
    if (!codes) Fail("cannot read the code file " + path);
    return codes;
}

std::string BusAddress(uint32_t offset) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", offset + kBusBase);
    return text;
}

}  // namespace

std::string DescribeFailedWrite(const PatchCodeList& codes, const ApplyReport& report) {
    std::string reason;
    if (!report.error.empty()) reason.append(" (").append(report.error).append(")");
    std::string text;
    if (report.notWritten.empty() && !report.written.empty()) {
        text.append("all ").append(std::to_string(report.written.size()));
        text.append(" code(s) inside the file were handed to it, but the sync or close that");
        text.append(" follows failed");
        text.append(reason).append(": they are not known to be on disk\n");
        return text;
    }
    text.append(std::to_string(report.written.size())).append(" of ");
    text.append(std::to_string(codes.Size())).append(" code(s) written, ");
    text.append(std::to_string(report.notWritten.size())).append(" not written");
    text.append(reason).append(":\n");

    enum class Fate { Written, NotWritten, PastEnd };
    auto fateOf = [&report](uint32_t offset) {
        if (std::binary_search(report.written.begin(), report.written.end(), offset))
            return Fate::Written;
        if (std::binary_search(report.notWritten.begin(), report.notWritten.end(), offset))
            return Fate::NotWritten;
        return Fate::PastEnd;
    };
    auto addRun = [&text](Fate fate, uint32_t first, uint32_t last, size_t count) {
        static constexpr const char* kLabels[] = {"  written      ", "  not written  ",
                                                  "  past the end "};
        text.append(kLabels[static_cast<int>(fate)]).append(BusAddress(first));
        if (count > 1) text.append("-").append(BusAddress(last));
        text.append("  ").append(std::to_string(count)).append(" code(s)\n");
    };
    // Neighbouring codes that met the same fate are named as one run.
    bool inRun = false;
    Fate runFate = Fate::Written;
    uint32_t runFirst = 0, runLast = 0;
    size_t runCount = 0;
    for (const auto& [offset, value] : codes) {
        const Fate fate = fateOf(offset);
        if (inRun && fate == runFate) {
            runLast = offset;
            ++runCount;
            continue;
        }
        if (inRun) addRun(runFate, runFirst, runLast, runCount);
        inRun = true;
        runFate = fate;
        runFirst = runLast = offset;
        runCount = 1;
    }
    if (inRun) addRun(runFate, runFirst, runLast, runCount);
    return text;
}

int CodesDiff(const Args& args) {
    const std::string& oldPath = args.words[2];
    const std::string& newPath = args.words[3];
    MappedFile oldRom, newRom;
    if (!MapRom(oldPath, args.force, oldRom)) return kExitFailure;
    if (!MapRom(newPath, args.force, newRom)) return kExitFailure;
    if (newRom.Size() > kCodeReach) {
        return Fail(newPath + " is longer than 32 MiB; code files reach only the first 32 MiB");
    }
    const auto size = static_cast<uint32_t>(newRom.Size());
    const auto oldSize = static_cast<uint32_t>(oldRom.Size());
    if (oldSize > size) {
        std::fprintf(stderr,
                     "tsumugi-cli: %s is shorter than %s; its missing bytes are not coded\n",
                     newPath.c_str(), oldPath.c_str());
    }

    std::string text;
    auto addCode = [&text](uint32_t offset, uint16_t value) {
        AppendCodeLine(text, offset, value);
    };
    std::vector<uint8_t> padded;  // a window OLD does not fill: its bytes, then filler
    for (uint32_t start = 0; start < size; start += kDiffWindow) {
        const uint32_t length = std::min(kDiffWindow, size - start);
        const uint8_t* before = nullptr;
        if (length <= oldSize && start <= oldSize - length) {
            oldRom.Prefetch(start, length);
            before = oldRom.Data() + start;
        } else {
            // Bytes OLD does not have count as 0xFF, the filler a lengthened ROM gets.
            padded.assign(length, kFillByte);
            if (start < oldSize) std::memcpy(padded.data(), oldRom.Data() + start, oldSize - start);
            before = padded.data();
        }
        newRom.Prefetch(start, length);
        ForEachChangedWord(before, newRom.Data() + start, start, length, addCode);
        oldRom.Release(start, length);
        newRom.Release(start, length);
        if (!args.output && text.size() >= kPrintPiece) {
            Print(text);
            text.clear();
        }
    }

    if (args.output) {
        if (!WriteCodeText(text, *args.output))
            return Fail("cannot write the code file " + *args.output);
        return kExitOk;
    }
    Print(text);
    return kExitOk;
}

int CodesApply(const Args& args) {
    const std::string& romPath = args.words[2];
    const std::optional<uint32_t> romSize = CheckRomFile(romPath, args.force);
    if (!romSize) return kExitFailure;
    const std::optional<PatchCodeList> codes = ReadCodes(args.words[3]);
    if (!codes) return kExitFailure;
    uint32_t size = *romSize;
    if (!codes->Empty() && codes->MaxOffset() + uint64_t{kWordBytes} > size) {
        const uint32_t needed = codes->MaxOffset() + kWordBytes;
        if (!args.extend) {
            return Fail("the codes reach past the end of the ROM: it must be lengthened to " +
                        Hex8(needed) + " bytes (--extend does it)");
        }
        size = needed;
    }
    // The ROM is read, patched and written a piece at a time.
    if (!WritePatchedCopy(romPath, *romSize, *codes, size, kFillByte, *args.output))
        return Fail("cannot write " + *args.output + " from " + romPath);
    return kExitOk;
}

int CodesWrite(const Args& args) {
    const std::string& romPath = args.words[2];
    // Writing in place needs the title check and nothing else of the image.
    if (!CheckRomFile(romPath, args.force)) return kExitFailure;
    const std::optional<PatchCodeList> codes = ReadCodes(args.words[3]);
    if (!codes) return kExitFailure;
    if (codes->Empty()) {
        std::fprintf(stderr, "tsumugi-cli: the code file holds no codes; nothing written\n");
        return kExitOk;
    }
    FilePatcher patcher;
    for (const auto& [offset, value] : *codes) patcher.AddEntry(offset, value, kWordBytes);
    size_t skipped = 0;
    ApplyReport report;
    if (!patcher.Apply(romPath, &skipped, &report)) {
        Fail("writing the codes into " + romPath + " failed");
        std::fputs(DescribeFailedWrite(*codes, report).c_str(), stderr);
        return kExitFailure;
    }
    if (skipped > 0) {
        std::fprintf(stderr,
                     "tsumugi-cli: %zu code(s) at or past the end of the file were skipped\n",
                     skipped);
    }
    return kExitOk;
}

}  // namespace tsumugi::cli

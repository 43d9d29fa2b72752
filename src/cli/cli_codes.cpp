// The code-file commands: diff two ROMs into codes, apply codes to a copy, write codes into a
// ROM file in place.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "core/bytes.h"
#include "core/file_io.h"
#include "core/patch_code.h"
#include "core/workspace.h"

namespace tsumugi::cli {
namespace {

constexpr uint32_t kCodeReach = 0x2000000;  // code files hold bus addresses below 0x0A000000
constexpr uint32_t kWordBytes = 2;

std::optional<PatchCodeList> ReadCodes(const std::string& path) {
    std::optional<PatchCodeList> codes = ReadCodeFile(path);
    if (!codes) Fail("cannot read the code file " + path);
    return codes;
}

}  // namespace

int CodesDiff(const Args& args) {
    RomImage oldRom, newRom;
    if (!LoadRom(args.words[2], args.force, oldRom)) return kExitFailure;
    if (!LoadRom(args.words[3], args.force, newRom)) return kExitFailure;
    const uint32_t size = newRom.m_nSize;
    if (size > kCodeReach) {
        return Fail(args.words[3] +
                    " is longer than 32 MiB; code files reach only the first 32 MiB");
    }
    if (oldRom.m_nSize > size) {
        std::fprintf(stderr,
                     "tsumugi-cli: %s is shorter than %s; its missing bytes are not coded\n",
                     args.words[3].c_str(), args.words[2].c_str());
    }
    // Bytes OLD does not have count as 0xFF, the filler a lengthened ROM gets.
    std::vector<uint8_t> before(size, 0xFF);
    std::memcpy(before.data(), oldRom.m_pData, std::min(size, oldRom.m_nSize));
    PatchCodeList codes;
    DiffRegion(before.data(), newRom.m_pData, 0, size, codes);

    if (args.output) {
        if (!WriteCodeFile(codes, *args.output))
            return Fail("cannot write the code file " + *args.output);
        return kExitOk;
    }
    std::string text;
    char line[32];
    for (const auto& [offset, value] : codes) {
        std::snprintf(line, sizeof line, "%08X:%04X\r\n", offset + kBusBase, value);
        text += line;
    }
    Print(text);
    return kExitOk;
}

int CodesApply(const Args& args) {
    RomImage rom;
    if (!LoadRom(args.words[2], args.force, rom)) return kExitFailure;
    const std::optional<PatchCodeList> codes = ReadCodes(args.words[3]);
    if (!codes) return kExitFailure;
    std::vector<uint8_t> image(rom.m_pData, rom.m_pData + rom.m_nSize);
    if (!codes->Empty() && codes->MaxOffset() + uint64_t{kWordBytes} > image.size()) {
        const uint32_t needed = codes->MaxOffset() + kWordBytes;
        if (!args.extend) {
            return Fail("the codes reach past the end of the ROM: it must be lengthened to " +
                        Hex8(needed) + " bytes (--extend does it)");
        }
        image.resize(needed, 0xFF);
    }
    for (const auto& [offset, value] : *codes) Write16(image.data() + offset, value);
    if (!WriteWholeFile(*args.output, image.data(), image.size()))
        return Fail("cannot write " + *args.output);
    return kExitOk;
}

int CodesWrite(const Args& args) {
    Workspace workspace;
    if (!LoadRom(args.words[2], args.force, workspace.m_rom)) return kExitFailure;
    const std::optional<PatchCodeList> codes = ReadCodes(args.words[3]);
    if (!codes) return kExitFailure;
    workspace.m_codes = *codes;
    size_t skipped = 0;
    switch (workspace.Rewrite(&skipped)) {
        case RewriteResult::Written:
            break;
        case RewriteResult::NoCodes:
            std::fprintf(stderr, "tsumugi-cli: the code file holds no codes; nothing written\n");
            return kExitOk;
        case RewriteResult::NoRom:
        case RewriteResult::Failed:
            return Fail("writing the codes into " + args.words[2] + " failed");
    }
    if (skipped > 0) {
        std::fprintf(stderr,
                     "tsumugi-cli: %zu code(s) at or past the end of the file were skipped\n",
                     skipped);
    }
    return kExitOk;
}

}  // namespace tsumugi::cli

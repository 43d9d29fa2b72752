// The patch commands: codes as a BPS or IPS patch, and a patch applied to a ROM.
#include <cstdio>

#include "cli/cli.h"
#include "core/bytes.h"
#include "core/file_io.h"
#include "core/patch_code.h"
#include "core/patch_target.h"

namespace tsumugi::cli {
namespace {

// A patch file larger than this cannot describe an image the patchers accept.
constexpr uint64_t kMaxPatchFile = uint64_t{kMaxPatchImage} * 2;

// The failure of a patch maker or applier, with the bus address of an IPS change out of
// reach beside its file offset.
int FailOutcome(const PatchOutcome& outcome) {
    if (outcome.status == PatchStatus::OutOfReach) {
        return Fail(outcome.reason + " (bus address " + Hex8(kBusBase + outcome.address) +
                    "); write a BPS patch instead");
    }
    if (outcome.status == PatchStatus::WrongSource)
        return Fail(outcome.reason + " (--force applies it anyway)");
    return Fail(outcome.reason);
}

}  // namespace

int CodesExport(const Args& args) {
    if (args.bps.has_value() == args.ips.has_value()) {
        std::fprintf(stderr,
                     "tsumugi-cli: codes export needs exactly one of --bps OUT and --ips OUT\n%s",
                     Usage());
        return kExitUsage;
    }
    RomImage rom;
    if (!LoadRom(args.words[2], args.force, rom)) return kExitFailure;
    const std::optional<PatchCodeList> codes = ReadCodeFile(args.words[3]);
    if (!codes) return Fail("cannot read the code file " + args.words[3]);
    if (codes->Empty()) {
        std::fprintf(stderr,
                     "tsumugi-cli: the code file holds no codes; the patch changes nothing\n");
    } else if (HoldsEveryCode(rom.m_pData, rom.m_nSize, *codes)) {
        std::fprintf(stderr,
                     "tsumugi-cli: the ROM already holds every code; the patch changes nothing "
                     "(make it from a clean copy of the ROM)\n");
    }
    const PatchFormat format = args.bps ? PatchFormat::Bps : PatchFormat::Ips;
    const std::string& out = args.bps ? *args.bps : *args.ips;
    const PatchOutcome patch = MakePatchFromCodes(format, rom.m_pData, rom.m_nSize, *codes);
    if (!patch.Ok()) return FailOutcome(patch);
    if (!WriteWholeFile(out, patch.bytes.data(), patch.bytes.size()))
        return Fail("cannot write " + out);
    return kExitOk;
}

int PatchApply(const Args& args) {
    RomImage rom;
    if (!LoadRom(args.words[2], args.force, rom)) return kExitFailure;
    const std::string& patchPath = args.words[3];
    const std::optional<uint64_t> length = FileLength(patchPath);
    if (!length) return Fail("cannot open the patch file " + patchPath);
    if (*length > kMaxPatchFile)
        return Fail("the patch file " + patchPath + " is too large to be a patch");
    const std::optional<ByteBuffer> patch = ReadWholeFile(patchPath);
    if (!patch) return Fail("cannot read the patch file " + patchPath);
    if (!DetectPatchFormat(patch->Data(), patch->Size()))
        return Fail(patchPath + " is not a BPS or IPS patch");
    const PatchOutcome result =
        ApplyPatch(patch->Data(), patch->Size(), rom.m_pData, rom.m_nSize, args.force);
    if (!result.Ok()) return FailOutcome(result);
    if (!WriteWholeFile(*args.output, result.bytes.data(), result.bytes.size()))
        return Fail("cannot write " + *args.output);
    return kExitOk;
}

}  // namespace tsumugi::cli

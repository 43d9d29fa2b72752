#pragma once
// What the BPS and IPS patchers share: the outcome of making or applying a patch, the size
// limit on the images they handle, and "a ROM with codes applied" as the target a patch
// is made towards.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/patch_code.h"

namespace tsumugi {

// No image handled by the patchers is larger: a size in a patch beyond it is refused
// before any memory is asked for.
constexpr size_t kMaxPatchImage = size_t{64} << 20;

enum class PatchStatus {
    Ok,
    TooLarge,     // an image above kMaxPatchImage
    BadMagic,     // the data is not a patch of the kind asked for
    Malformed,    // truncated, a number overflows, or an offset or length leaves its buffer
    PatchCrc,     // the patch's own checksum does not match its bytes
    WrongSource,  // the source is not the one the patch was made from (size or checksum)
    TargetCrc,    // the result is not the target the patch promises
    OutOfReach,   // IPS cannot address a change; `address` holds its file offset
};

struct PatchOutcome {
    PatchStatus status = PatchStatus::Ok;
    std::string reason;          // in English, for the command line; empty on success
    uint32_t address = 0;        // OutOfReach: the first file offset the patch cannot reach
    std::vector<uint8_t> bytes;  // the patch made, or the target a patch gave

    bool Ok() const { return status == PatchStatus::Ok; }

    static PatchOutcome Fail(PatchStatus status, std::string reason) {
        PatchOutcome outcome;
        outcome.status = status;
        outcome.reason = std::move(reason);
        return outcome;
    }
};

// The ROM with every code written into it in ascending offset order (a later code wins a
// byte two codes share), lengthened with 0xFF first when a code lies past its end.
// nullopt when the result would exceed kMaxPatchImage.
std::optional<std::vector<uint8_t>> ApplyCodesExtending(const uint8_t* rom, size_t size,
                                                        const PatchCodeList& codes);

// True when the ROM already holds every code's word and no code lies past its end: a
// patch made from the codes would change nothing.
bool HoldsEveryCode(const uint8_t* rom, size_t size, const PatchCodeList& codes);

enum class PatchFormat { Bps, Ips };

// The patch that turns rom into rom with the codes applied. An IPS patch made this way
// carries every coded byte, not only those that differ from rom, so that it gives the
// coded words on any copy of the game.
PatchOutcome MakePatchFromCodes(PatchFormat format, const uint8_t* rom, size_t size,
                                const PatchCodeList& codes);

// The format a patch's first bytes name, or nullopt.
std::optional<PatchFormat> DetectPatchFormat(const uint8_t* patch, size_t size);

// Applies a BPS or IPS patch, told apart by its magic; `force` lets a BPS patch run on a
// source it was not made for (the result is still checked).
PatchOutcome ApplyPatch(const uint8_t* patch, size_t patchSize, const uint8_t* source,
                        size_t sourceSize, bool force);

// "0x%08X".
std::string HexAddress(uint64_t value);

}  // namespace tsumugi

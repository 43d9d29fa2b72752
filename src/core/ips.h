#pragma once
// IPS patches: "PATCH", then records, then "EOF", then optionally three bytes giving the
// length the result is cut to. A record is a three-byte offset and a two-byte size (both
// high byte first) and that many bytes to write there; a size of 0 marks a run instead: a
// two-byte count and the one byte value repeated. Records reaching past the end of the
// image lengthen it.
//
// Offsets have three bytes, so IPS reaches only the first 16 MiB; and a record at offset
// 0x454F46 would read as "EOF", so our records never start there.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/patch_code.h"
#include "core/patch_target.h"

namespace tsumugi {

constexpr uint32_t kIpsReach = 0x1000000;     // first offset IPS cannot address
constexpr uint32_t kIpsEofOffset = 0x454F46;  // "EOF" read as an offset
constexpr uint32_t kIpsMaxRecord = 0xFFFF;    // bytes of data in one record

// The patch that turns source into target: every byte that differs, and every byte past
// the end of the source when the target is longer (written as data, filler included); a
// shorter target is cut with the length after "EOF". OutOfReach (naming the first
// offset) when a change lies at or past 16 MiB, or a shorter target is itself 16 MiB or
// longer.
PatchOutcome MakeIps(const uint8_t* source, size_t sourceSize, const uint8_t* target,
                     size_t targetSize);

// The same for a target made from a source of sourceSize bytes and codes (see
// ApplyCodesExtending): the records carry every byte a code covers, whether or not it
// differs from the source, and every byte past the end of the source.
PatchOutcome MakeIpsForCodes(size_t sourceSize, const std::vector<uint8_t>& target,
                             const PatchCodeList& codes);

// Applies an IPS patch to source. Run records are read; a record starting past the end
// of the image lengthens it with zero bytes up to its offset. Data after "EOF" must be
// absent or a three-byte length not above the result's; anything else is Malformed, as
// is a patch that ends before "EOF" or a record whose data is cut off.
PatchOutcome ApplyIps(const uint8_t* patch, size_t patchSize, const uint8_t* source,
                      size_t sourceSize);

// True when the data starts with "PATCH".
bool IsIps(const uint8_t* data, size_t size);

}  // namespace tsumugi

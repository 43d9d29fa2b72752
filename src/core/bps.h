#pragma once
// BPS patches: "BPS1", the source, target and metadata sizes as variable-length numbers,
// the metadata, a list of actions that build the target front to back, and the CRC32 of
// the source, of the target and of every patch byte before it (four bytes each, low byte
// first).
//
// An action is one number: its low two bits the kind, the rest the length - 1.
//   SourceRead  copies the source bytes at the output position.
//   TargetRead  copies the next `length` patch bytes.
//   SourceCopy  moves a source cursor by a signed distance and copies from there.
//   TargetCopy  moves a target cursor by a signed distance and copies, byte by byte, from
//               the output already written (so it may overlap what it writes: a run).
// A signed distance is stored as magnitude * 2 + (1 when negative).
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/patch_target.h"

namespace tsumugi {

// The patch that turns source into target. Runs of one byte value become TargetCopy
// actions, stretches equal to the source at the same place SourceRead actions.
PatchOutcome MakeBps(const uint8_t* source, size_t sourceSize, const uint8_t* target,
                     size_t targetSize);

// Applies a BPS patch to source. The patch's own CRC failing is always an error; a source
// whose size or CRC differs from the patch's is WrongSource unless `force`; a result whose
// CRC differs from the patch's target CRC is TargetCrc. Every length, offset and number is
// checked against its buffer; nothing outside patch or source is read.
PatchOutcome ApplyBps(const uint8_t* patch, size_t patchSize, const uint8_t* source,
                      size_t sourceSize, bool force);

// True when the data starts with "BPS1".
bool IsBps(const uint8_t* data, size_t size);

// The number encoding BPS uses: seven bits a byte, low bits first, the top bit set on the
// last byte, and every byte but the last counting one more than its bits say (so each
// number has exactly one encoding). Appends to out.
void AppendBpsNumber(uint64_t value, std::vector<uint8_t>& out);

// Reads a number at *pos, moving pos past it. nullopt when the data ends first or the
// value does not fit in 64 bits.
std::optional<uint64_t> ReadBpsNumber(const uint8_t* data, size_t size, size_t* pos);

}  // namespace tsumugi

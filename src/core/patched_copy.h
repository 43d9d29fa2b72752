#pragma once
// A copy of a ROM file with patch codes applied, written without ever holding the image
// whole: the source is read, patched and written a piece at a time.
#include <cstdint>
#include <string>

#include "core/patch_code.h"

namespace tsumugi {

// Writes to `out`, all or nothing as WriteWholeFile does, `size` bytes: the regular file
// at `source`, which must be exactly `length` bytes long (size >= length), then `fill` up
// to size, with every code's word stored low byte first at its offset (a code's bytes at
// or past size are dropped; where two codes share a byte, the higher code's wins). False,
// with `out` left as it was, when the source cannot be read or is not `length` bytes long,
// when size < length, or when the write fails.
bool WritePatchedCopy(const std::string& source, uint64_t length, const PatchCodeList& codes,
                      size_t size, uint8_t fill, const std::string& out);

}  // namespace tsumugi

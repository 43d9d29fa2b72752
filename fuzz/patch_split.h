#pragma once
// Splits a fuzz input for the patch readers: byte 0 holds flags, bytes 1-2 the length of
// the source that follows (low byte first, cut to what is there), the rest is the patch,
// which also serves as the target for a patch made and applied again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzzing {

struct PatchInput {
    bool flag = false;
    std::vector<uint8_t> source;
    std::vector<uint8_t> patch;
};

inline bool SplitPatchInput(const uint8_t* data, size_t size, PatchInput& out) {
    if (size < 3) return false;
    out.flag = data[0] & 1;
    const size_t want = static_cast<size_t>(data[1] | data[2] << 8);
    const size_t n = std::min(want, size - 3);
    out.source.assign(data + 3, data + 3 + n);
    out.patch.assign(data + 3 + n, data + size);
    return true;
}

}  // namespace fuzzing

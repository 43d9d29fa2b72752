#include "core/patched_copy.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/file_io.h"

namespace tsumugi {

bool WritePatchedCopy(const std::string& source, uint64_t length, const PatchCodeList& codes,
                      size_t size, uint8_t fill, const std::string& out) {
    if (size < length) {
        errno = EINVAL;
        return false;
    }
    uint64_t actual = 0;
    FileHandle file(OpenRegularFile(source, actual));
    if (!file.IsOpen()) return false;
    if (actual != length) {
        errno = EINVAL;
        return false;
    }

    std::vector<uint8_t> buffer;
    auto code = codes.begin();
    auto piece = [&](uint64_t offset, size_t count) -> const uint8_t* {
        buffer.resize(count);
        const size_t inside = offset < length ? static_cast<size_t>(std::min<uint64_t>(count, length - offset)) : 0;
        errno = 0;
        if (!ReadAll(file.Get(), buffer.data(), inside)) {
            if (errno == 0) errno = EIO;  // the source got shorter while it was read
            return nullptr;
        }
        std::memset(buffer.data() + inside, fill, count - inside);
        // Codes come in ascending order. A code one byte before the piece reaches into it
        // with its high byte, so the last code of a piece is looked at again by the next.
        const uint64_t end = offset + count;
        while (code != codes.end() && uint64_t{code->first} + 2 <= offset) ++code;
        for (auto at = code; at != codes.end() && at->first < end; ++at) {
            const uint8_t bytes[2] = {static_cast<uint8_t>(at->second), static_cast<uint8_t>(at->second >> 8)};
            for (uint64_t i = 0; i < 2; ++i) {
                const uint64_t where = uint64_t{at->first} + i;
                if (where >= offset && where < end) buffer[static_cast<size_t>(where - offset)] = bytes[i];
            }
        }
        return buffer.data();
    };
    return WriteFileFrom(out, size, piece);
}

}  // namespace tsumugi

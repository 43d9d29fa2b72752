#pragma once
// Whole-file reads and writes. Failures come back as values; nothing throws.
#include <cstdint>
#include <optional>
#include <string>

#include "core/byte_buffer.h"

namespace tsumugi {

// Reads the whole file; `extra` zeroed bytes are appended after the data (the buffer's
// Size() is the file length + extra). nullopt when the file cannot be opened or read, or
// is larger than 4 GiB - 1.
std::optional<ByteBuffer> ReadWholeFile(const std::string& path, size_t extra = 0);

// Creates or truncates the file and writes exactly `size` bytes, then fsyncs. False when
// the file cannot be opened or any write or the sync fails.
bool WriteWholeFile(const std::string& path, const uint8_t* data, size_t size);

// Length of an existing file, or nullopt.
std::optional<uint64_t> FileLength(const std::string& path);

}  // namespace tsumugi

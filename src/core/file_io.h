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

// An open file descriptor, closed when it goes out of scope. Close() reports the result.
class FileHandle {
public:
    explicit FileHandle(int fd = -1) : m_fd(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }

    bool IsOpen() const { return m_fd >= 0; }
    int Get() const { return m_fd; }
    bool Close();

private:
    int m_fd;
};

// Writes all size bytes at the descriptor's position (or at offset), retrying short and
// interrupted writes. False on the first failed write.
bool WriteAll(int fd, const uint8_t* data, size_t size);
bool WriteAllAt(int fd, const uint8_t* data, size_t size, uint64_t offset);

}  // namespace tsumugi

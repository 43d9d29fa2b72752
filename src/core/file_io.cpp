#include "core/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

namespace tsumugi {

namespace {
// Larger single reads and writes are split so that one call never asks for more than the
// kernel hands over at once anyway.
constexpr size_t kMaxTransfer = 1u << 30;
}  // namespace

bool FileHandle::Close() {
    if (m_fd < 0) return true;
    const int fd = m_fd;
    m_fd = -1;
    return close(fd) == 0;
}

namespace {
// Calls writeOnce(data, count, done) until all size bytes are written, retrying short and
// interrupted writes.
template <typename WriteOnce>
bool WriteInPieces(const uint8_t* data, size_t size, WriteOnce writeOnce) {
    size_t done = 0;
    while (done < size) {
        const size_t count = size - done < kMaxTransfer ? size - done : kMaxTransfer;
        const ssize_t n = writeOnce(data + done, count, done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}
}  // namespace

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    return WriteInPieces(data, size, [fd](const uint8_t* from, size_t count, size_t) {
        return write(fd, from, count);
    });
}

bool WriteAllAt(int fd, const uint8_t* data, size_t size, uint64_t offset) {
    return WriteInPieces(data, size, [fd, offset](const uint8_t* from, size_t count, size_t done) {
        return pwrite(fd, from, count, static_cast<off_t>(offset + done));
    });
}

std::optional<ByteBuffer> ReadWholeFile(const std::string& path, size_t extra) {
    FileHandle file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen()) return std::nullopt;
    struct stat st {};
    if (fstat(file.Get(), &st) != 0 || st.st_size < 0) return std::nullopt;
    const uint64_t length = static_cast<uint64_t>(st.st_size);
    if (length > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    if (extra > std::numeric_limits<size_t>::max() - length) return std::nullopt;

    ByteBuffer buffer;
    if (!buffer.Allocate(static_cast<size_t>(length) + extra)) return std::nullopt;
    size_t done = 0;
    while (done < length) {
        const size_t want = length - done < kMaxTransfer ? length - done : kMaxTransfer;
        const ssize_t n = read(file.Get(), buffer.Data() + done, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) return std::nullopt;  // the file shrank while we read it
        done += static_cast<size_t>(n);
    }
    if (extra > 0) std::memset(buffer.Data() + length, 0, extra);
    return buffer;
}

bool WriteWholeFile(const std::string& path, const uint8_t* data, size_t size) {
    FileHandle file(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!file.IsOpen()) return false;
    if (!WriteAll(file.Get(), data, size)) return false;
    if (fsync(file.Get()) != 0) return false;
    return file.Close();
}

std::optional<uint64_t> FileLength(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || st.st_size < 0) return std::nullopt;
    return static_cast<uint64_t>(st.st_size);
}

}  // namespace tsumugi

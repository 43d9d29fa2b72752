#include "core/file_io.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

namespace tsumugi {

namespace {
// Larger single reads and writes are split so that one call never asks for more than the
// kernel hands over at once anyway.
constexpr size_t kMaxTransfer = 1u << 30;
constexpr mode_t kNewFileMode = 0644;  // less the umask, as open() applies it
constexpr int kTempAttempts = 100;
constexpr size_t kMaxTempBase = 200;   // keeps the temporary name under NAME_MAX

FileOps& Installed() {
    static FileOps ops = SystemFileOps();
    return ops;
}

// Keeps errno across the clean-up that follows a failure, so the caller sees the cause.
class KeepErrno {
public:
    KeepErrno() : m_saved(errno) {}
    ~KeepErrno() { errno = m_saved; }
    KeepErrno(const KeepErrno&) = delete;
    KeepErrno& operator=(const KeepErrno&) = delete;

private:
    int m_saved;
};
}  // namespace

FileOps SystemFileOps() {
    FileOps ops;
    ops.open = [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); };
    ops.write = [](int fd, const void* data, size_t count) { return ::write(fd, data, count); };
    ops.pwrite = [](int fd, const void* data, size_t count, off_t offset) {
        return ::pwrite(fd, data, count, offset);
    };
    ops.fsync = [](int fd) { return ::fsync(fd); };
    ops.close = [](int fd) { return ::close(fd); };
    ops.rename = [](const char* from, const char* to) { return ::rename(from, to); };
    ops.unlink = [](const char* path) { return ::unlink(path); };
    ops.ftruncate = [](int fd, off_t length) { return ::ftruncate(fd, length); };
    return ops;
}

const FileOps& CurrentFileOps() { return Installed(); }

ScopedFileOps::ScopedFileOps(FileOps ops) : m_previous(Installed()) {
    const FileOps system = SystemFileOps();
    if (!ops.open) ops.open = system.open;
    if (!ops.write) ops.write = system.write;
    if (!ops.pwrite) ops.pwrite = system.pwrite;
    if (!ops.fsync) ops.fsync = system.fsync;
    if (!ops.close) ops.close = system.close;
    if (!ops.rename) ops.rename = system.rename;
    if (!ops.unlink) ops.unlink = system.unlink;
    if (!ops.ftruncate) ops.ftruncate = system.ftruncate;
    Installed() = std::move(ops);
}

ScopedFileOps::~ScopedFileOps() { Installed() = std::move(m_previous); }

bool FileHandle::Close() {
    if (m_fd < 0) return true;
    const int fd = m_fd;
    m_fd = -1;
    // A close that fails has still released the descriptor (Linux): never retry it.
    return CurrentFileOps().close(fd) == 0;
}

int OpenFile(const std::string& path, int flags, mode_t mode) {
    return CurrentFileOps().open(path.c_str(), flags | O_CLOEXEC, mode);
}

namespace {
// Calls writeOnce(data, count, done) until all size bytes are written, retrying short and
// interrupted writes.
template <typename WriteOnce>
bool WriteInPieces(const uint8_t* data, size_t size, size_t* written, WriteOnce writeOnce) {
    size_t done = 0;
    bool ok = true;
    while (done < size) {
        const size_t count = size - done < kMaxTransfer ? size - done : kMaxTransfer;
        const ssize_t n = writeOnce(data + done, count, done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || static_cast<size_t>(n) > count) {
            ok = false;
            break;
        }
        if (n == 0) {  // no progress and no reason given: the disk takes nothing more
            errno = ENOSPC;
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (written) *written = done;
    return ok;
}
}  // namespace

bool WriteAll(int fd, const uint8_t* data, size_t size, size_t* done) {
    const FileOps& ops = CurrentFileOps();
    return WriteInPieces(data, size, done, [&ops, fd](const uint8_t* from, size_t count, size_t) {
        return ops.write(fd, from, count);
    });
}

bool WriteAllAt(int fd, const uint8_t* data, size_t size, uint64_t offset, size_t* done) {
    const FileOps& ops = CurrentFileOps();
    return WriteInPieces(data, size, done, [&ops, fd, offset](const uint8_t* from, size_t count, size_t at) {
        return ops.pwrite(fd, from, count, static_cast<off_t>(offset + at));
    });
}

bool SyncFile(int fd) {
    const FileOps& ops = CurrentFileOps();
    for (;;) {
        if (ops.fsync(fd) == 0) return true;
        if (errno != EINTR) return false;
    }
}

int OpenRegularFile(const std::string& path, uint64_t& length) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        KeepErrno keep;
        close(fd);
        return -1;
    }
    length = static_cast<uint64_t>(st.st_size);
    return fd;
}

namespace {
// Calls readOnce(data, count, done) until all size bytes are read, retrying short and
// interrupted reads.
template <typename ReadOnce>
bool ReadInPieces(uint8_t* data, size_t size, ReadOnce readOnce) {
    size_t done = 0;
    while (done < size) {
        const size_t want = size - done < kMaxTransfer ? size - done : kMaxTransfer;
        const ssize_t n = readOnce(data + done, want, done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // a failed read, or the file shrank while we read it
        done += static_cast<size_t>(n);
    }
    return true;
}
}  // namespace

bool ReadAll(int fd, uint8_t* data, size_t size) {
    return ReadInPieces(data, size, [fd](uint8_t* into, size_t count, size_t) { return read(fd, into, count); });
}

bool ReadAllAt(int fd, uint8_t* data, size_t size, uint64_t offset) {
    return ReadInPieces(data, size, [fd, offset](uint8_t* into, size_t count, size_t at) {
        return pread(fd, into, count, static_cast<off_t>(offset + at));
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
    if (!ReadAll(file.Get(), buffer.Data(), static_cast<size_t>(length))) return std::nullopt;
    if (extra > 0) std::memset(buffer.Data() + length, 0, extra);
    return buffer;
}

namespace {

// The file a write to path lands in: the target of a symbolic link, else path itself (a
// dangling link is replaced as it stands).
std::string WriteTarget(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string target(resolved);
    free(resolved);
    return target;
}

std::pair<std::string, std::string> SplitFolder(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// "<folder>/.<name>.<tag>.tmp", the tag different for every call in this run and every
// process.
std::string TempName(const std::string& folder, const std::string& name) {
    static std::atomic<unsigned> counter{0};
    const unsigned serial = counter.fetch_add(1);
    char tag[48];
    std::snprintf(tag, sizeof tag, ".%ld-%u.tmp", static_cast<long>(getpid()), serial);
    const std::string base = name.size() > kMaxTempBase ? name.substr(0, kMaxTempBase) : name;
    return (folder == "/" ? std::string() : folder) + "/." + base + tag;
}

// Syncs the folder so that a rename in it is on disk. A file system that cannot sync a
// folder (EINVAL) has nothing more to offer and counts as done.
bool SyncFolder(const std::string& folder) {
    const int fd = OpenFile(folder, O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    FileHandle handle(fd);
    if (!SyncFile(fd) && errno != EINVAL) {
        KeepErrno keep;
        handle.Close();
        return false;
    }
    return handle.Close();
}

// A name for one of our own open descriptors (-o /dev/stdout): whatever it leads to, a
// terminal, a pipe or the file the shell sent our output to, the bytes go after what is
// there; replacing that file would cut the rest of the output off from it.
bool NamesADescriptor(const std::string& path) {
    return path == "/dev/stdout" || path == "/dev/stderr" || path.starts_with("/dev/fd/") ||
           path.starts_with("/proc/self/fd/");
}

// A device or a pipe cannot be replaced by a rename: it takes the bytes as they come. One
// that cannot be synced (EINVAL) has nothing to sync.
bool WriteInPlace(const std::string& path, size_t size, const PieceSource& source, int flags = 0) {
    FileHandle file(OpenFile(path, O_WRONLY | flags));
    if (!file.IsOpen()) return false;
    auto fail = [&file]() {
        KeepErrno keep;
        file.Close();
        return false;
    };
    for (size_t done = 0; done < size;) {
        const size_t piece = std::min(size - done, kFilePiece);
        const uint8_t* bytes = source(done, piece);
        if (bytes == nullptr || !WriteAll(file.Get(), bytes, piece)) return fail();
        done += piece;
    }
    if (!SyncFile(file.Get()) && errno != EINVAL) return fail();
    return file.Close();
}

}  // namespace

void StartWriteback(int fd, uint64_t offset, uint64_t length) {
    if (length == 0) return;  // a length of 0 would mean "to the end of the file"
    (void)sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(length), SYNC_FILE_RANGE_WRITE);
}

bool WriteWholeFile(const std::string& path, const uint8_t* data, size_t size) {
    return WriteFileFrom(path, size, [data](uint64_t offset, size_t) { return data + offset; });
}

bool WriteFileFrom(const std::string& path, size_t size, const PieceSource& source) {
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    if (NamesADescriptor(path)) return WriteInPlace(path, size, source, O_APPEND);
    const FileOps& ops = CurrentFileOps();
    const std::string target = WriteTarget(path);
    const auto [folder, name] = SplitFolder(target);
    if (name.empty()) {
        errno = EISDIR;
        return false;
    }

    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) return WriteInPlace(target, size, source);
    // A file we may not write stays as it is, as it would for a write into it.
    if (exists && S_ISREG(existing.st_mode) && access(target.c_str(), W_OK) != 0) return false;

    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < kTempAttempts && fd < 0; ++attempt) {
        temp = TempName(folder, name);
        fd = OpenFile(temp, O_WRONLY | O_CREAT | O_EXCL, kNewFileMode);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    FileHandle file(fd);

    auto fail = [&]() {
        KeepErrno keep;
        file.Close();
        ops.unlink(temp.c_str());
        return false;
    };

    if (exists && S_ISREG(existing.st_mode)) {
        // Keeping the old file's mode is a courtesy: when it cannot be had, the new file
        // keeps the mode it was made with.
        (void)fchmod(fd, existing.st_mode & 07777);
    }
    // A big file is handed to the disk piece by piece as it is written, so that the sync
    // at the end waits for the last piece only, not for the whole file.
    for (size_t done = 0; done < size;) {
        const size_t piece = std::min(size - done, kFilePiece);
        const uint8_t* bytes = source(done, piece);
        if (bytes == nullptr || !WriteAll(fd, bytes, piece)) return fail();
        StartWriteback(fd, done, piece);
        done += piece;
    }
    if (!SyncFile(fd)) return fail();
    if (!file.Close()) return fail();
    if (ops.rename(temp.c_str(), target.c_str()) != 0) return fail();
    return SyncFolder(folder);
}

bool ResizeFile(const std::string& path, uint64_t length) {
    if (length > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) {
        errno = EFBIG;
        return false;
    }
    FileHandle file(OpenFile(path, O_WRONLY));
    if (!file.IsOpen()) return false;
    if (CurrentFileOps().ftruncate(file.Get(), static_cast<off_t>(length)) != 0 || !SyncFile(file.Get())) {
        KeepErrno keep;
        file.Close();
        return false;
    }
    return file.Close();
}

bool AppendToFile(const std::string& path, const uint8_t* data, size_t size) {
    FileHandle file(OpenFile(path, O_WRONLY | O_CREAT | O_APPEND, 0600));
    if (!file.IsOpen()) return false;
    if (!WriteAll(file.Get(), data, size) || !SyncFile(file.Get())) return false;
    return file.Close();
}

bool RemoveFile(const std::string& path) {
    return CurrentFileOps().unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool RenameFile(const std::string& from, const std::string& to) {
    return CurrentFileOps().rename(from.c_str(), to.c_str()) == 0;
}

std::optional<uint64_t> FileLength(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || st.st_size < 0) return std::nullopt;
    return static_cast<uint64_t>(st.st_size);
}

}  // namespace tsumugi

#include "core/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

#include "core/platform.h"

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
    ops.open = [](const char* path, int flags, mode_t mode) { return platform::Open(path, flags, mode); };
    ops.write = [](int fd, const void* data, size_t count) { return platform::Write(fd, data, count); };
    ops.pwrite = [](int fd, const void* data, size_t count, off_t offset) {
        if (offset < 0) {
            errno = EINVAL;
            return ssize_t{-1};
        }
        return platform::WriteAt(fd, data, count, static_cast<uint64_t>(offset));
    };
    ops.fsync = [](int fd) { return platform::Sync(fd); };
    ops.close = [](int fd) { return platform::Close(fd); };
    ops.rename = [](const char* from, const char* to) { return platform::Rename(from, to); };
    ops.unlink = [](const char* path) { return platform::Remove(path); };
    ops.ftruncate = [](int fd, off_t length) {
        if (length < 0) {
            errno = EINVAL;
            return -1;
        }
        return platform::Truncate(fd, static_cast<uint64_t>(length));
    };
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
    const int fd = platform::Open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) return -1;
    const std::optional<platform::FileStatus> status = platform::StatusOf(fd);
    if (!status || !status->regular) {
        KeepErrno keep;
        platform::Close(fd);
        return -1;
    }
    length = status->length;
    return fd;
}

std::optional<uint64_t> FileLengthOf(int fd) {
    const std::optional<platform::FileStatus> status = platform::StatusOf(fd);
    if (!status) return std::nullopt;
    return status->length;
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
    return ReadInPieces(data, size, [fd](uint8_t* into, size_t count, size_t) { return platform::Read(fd, into, count); });
}

bool ReadAllAt(int fd, uint8_t* data, size_t size, uint64_t offset) {
    return ReadInPieces(data, size, [fd, offset](uint8_t* into, size_t count, size_t at) {
        return platform::ReadAt(fd, into, count, offset + at);
    });
}

std::optional<ByteBuffer> ReadWholeFile(const std::string& path, size_t extra) {
    FileHandle file(platform::Open(path.c_str(), O_RDONLY | O_CLOEXEC, 0));
    if (!file.IsOpen()) return std::nullopt;
    const std::optional<uint64_t> known = FileLengthOf(file.Get());
    if (!known) return std::nullopt;
    const uint64_t length = *known;
    if (length > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    if (extra > std::numeric_limits<size_t>::max() - length) return std::nullopt;

    ByteBuffer buffer;
    if (!buffer.Allocate(static_cast<size_t>(length) + extra)) return std::nullopt;
    if (!ReadAll(file.Get(), buffer.Data(), static_cast<size_t>(length))) return std::nullopt;
    if (extra > 0) std::memset(buffer.Data() + length, 0, extra);
    return buffer;
}

namespace {

std::pair<std::string, std::string> SplitFolder(const std::string& path) {
    const size_t slash = platform::LastSeparator(path);
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// "<folder>/.<name>.<tag>.tmp", the tag different for every call in this run and every
// process.
std::string TempName(const std::string& folder, const std::string& name) {
    static std::atomic<unsigned> counter{0};
    const unsigned serial = counter.fetch_add(1);
    char tag[48];
    std::snprintf(tag, sizeof tag, ".%lu-%u.tmp", platform::ProcessId(), serial);
    const std::string base = name.size() > kMaxTempBase ? name.substr(0, kMaxTempBase) : name;
    const bool root = platform::LastSeparator(folder) == folder.size() - 1;  // "/" or "C:\\"
    return folder + (root ? "" : std::string(1, kPathSeparator)) + "." + base + tag;
}

// Syncs the folder so that a rename in it is on disk. A file system that cannot sync a
// folder (EINVAL) has nothing more to offer and counts as done.
bool SyncFolder(const std::string& folder) {
    if (!platform::kSyncFolders) return true;
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

void StartWriteback(int fd, uint64_t offset, uint64_t length) { platform::StartWriteback(fd, offset, length); }

bool WriteWholeFile(const std::string& path, const uint8_t* data, size_t size) {
    return WriteFileFrom(path, size, [data](uint64_t offset, size_t) { return data + offset; });
}

bool WriteFileFrom(const std::string& path, size_t size, const PieceSource& source) {
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    if (platform::NamesADescriptor(path)) return WriteInPlace(path, size, source, O_APPEND);
    const FileOps& ops = CurrentFileOps();
    const std::string target = platform::WriteTarget(path);
    const auto [folder, name] = SplitFolder(target);
    if (name.empty()) {
        errno = EISDIR;
        return false;
    }

    const std::optional<platform::FileStatus> existing = platform::Status(target);
    if (existing && !existing->regular && !existing->directory) return WriteInPlace(target, size, source);
    // A file we may not write stays as it is, as it would for a write into it.
    if (existing && existing->regular && !existing->writable) {
        errno = EACCES;
        return false;
    }

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

    if (existing && existing->regular) {
        // Keeping the old file's mode is a courtesy: when it cannot be had, the new file
        // keeps the mode it was made with.
        platform::CopyMode(fd, existing->mode);
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

std::optional<uint64_t> FileLength(const std::string& path) {
    const std::optional<platform::FileStatus> status = platform::Status(path);
    if (!status) return std::nullopt;
    return status->length;
}

bool AppendToFile(const std::string& path, const uint8_t* data, size_t size) {
    FileHandle file(OpenFile(path, O_WRONLY | O_CREAT | O_APPEND, kNewFileMode));
    if (!file.IsOpen()) return false;
    if (!WriteAll(file.Get(), data, size) || !SyncFile(file.Get())) {
        KeepErrno keep;
        file.Close();
        return false;
    }
    return file.Close();
}

bool RemoveFile(const std::string& path) { return CurrentFileOps().unlink(path.c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
    return CurrentFileOps().rename(from.c_str(), to.c_str()) == 0;
}

namespace {
// dir + separator + "tsumugi", or empty when dir is.
std::string OurFolderIn(const std::optional<std::string>& dir) {
    if (!dir) return {};
    std::string folder = *dir;
    if (platform::LastSeparator(folder) != folder.size() - 1) folder += kPathSeparator;
    return folder + "tsumugi";
}

// The first of the environment variable and $HOME/rest that is set.
std::string UserFolder([[maybe_unused]] const char* xdgVariable, [[maybe_unused]] const char* homeRest,
                       [[maybe_unused]] const char* windowsVariable) {
#ifdef _WIN32
    return OurFolderIn(platform::Environment(windowsVariable));
#else
    // A relative path in an XDG variable is to be ignored.
    std::optional<std::string> xdg = platform::Environment(xdgVariable);
    if (xdg && xdg->front() == '/') return OurFolderIn(xdg);
    const std::optional<std::string> home = platform::Environment("HOME");
    if (!home) return {};
    return OurFolderIn(*home + homeRest);
#endif
}
}  // namespace

bool MakeFolders(const std::string& path) {
    if (path.empty()) return false;
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/' && path[i] != kPathSeparator) continue;
        const std::string part = path.substr(0, i);
        if (platform::MakeFolder(part.c_str()) != 0 && errno != EEXIST) return false;
    }
    const std::optional<platform::FileStatus> status = platform::Status(path);
    return status && status->directory;
}

std::string UserStateFolder() { return UserFolder("XDG_STATE_HOME", "/.local/state", "LOCALAPPDATA"); }

std::string UserConfigFolder() { return UserFolder("XDG_CONFIG_HOME", "/.config", "APPDATA"); }

}  // namespace tsumugi

// The platform layer on Linux and other POSIX systems.
#ifndef _WIN32
#include <fcntl.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "core/platform.h"

namespace tsumugi::platform {

int Open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t Read(int fd, void* data, size_t count) { return ::read(fd, data, count); }
ssize_t ReadAt(int fd, void* data, size_t count, uint64_t offset) {
    return ::pread(fd, data, count, static_cast<off_t>(offset));
}
ssize_t Write(int fd, const void* data, size_t count) { return ::write(fd, data, count); }
ssize_t WriteAt(int fd, const void* data, size_t count, uint64_t offset) {
    return ::pwrite(fd, data, count, static_cast<off_t>(offset));
}
int Sync(int fd) { return ::fsync(fd); }
int Close(int fd) { return ::close(fd); }
int Truncate(int fd, uint64_t length) { return ::ftruncate(fd, static_cast<off_t>(length)); }
int Rename(const char* from, const char* to) { return ::rename(from, to); }
int Remove(const char* path) { return ::unlink(path); }

int MakeFolder(const char* path) { return ::mkdir(path, 0700); }

namespace {
std::optional<FileStatus> FromStat(const struct stat& st) {
    if (st.st_size < 0) return std::nullopt;
    FileStatus status;
    status.regular = S_ISREG(st.st_mode);
    status.directory = S_ISDIR(st.st_mode);
    status.length = static_cast<uint64_t>(st.st_size);
    status.mode = static_cast<uint32_t>(st.st_mode & 07777);
    return status;
}
}  // namespace

std::optional<FileStatus> Status(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return std::nullopt;
    std::optional<FileStatus> status = FromStat(st);
    if (status && (status->regular || status->directory)) status->writable = access(path.c_str(), W_OK) == 0;
    return status;
}

std::optional<FileStatus> StatusOf(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return std::nullopt;
    return FromStat(st);
}

std::string WriteTarget(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;  // a dangling link is replaced as it stands
    std::string target(resolved);
    free(resolved);
    return target;
}

bool NamesADescriptor(const std::string& path) {
    return path == "/dev/stdout" || path == "/dev/stderr" || path.starts_with("/dev/fd/") ||
           path.starts_with("/proc/self/fd/");
}

size_t LastSeparator(const std::string& path) { return path.rfind('/'); }

void CopyMode(int fd, uint32_t mode) { (void)fchmod(fd, static_cast<mode_t>(mode)); }

void StartWriteback(int fd, uint64_t offset, uint64_t length) {
    if (length == 0) return;  // a length of 0 would mean "to the end of the file"
#ifdef SYNC_FILE_RANGE_WRITE
    (void)sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(length), SYNC_FILE_RANGE_WRITE);
#else
    (void)fd, (void)offset;
#endif
}

unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }

const uint8_t* Map(int fd, size_t length) {
    void* mapped = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, 0);
    return mapped == MAP_FAILED ? nullptr : static_cast<const uint8_t*>(mapped);
}

void Unmap(const uint8_t* data, size_t length) { munmap(const_cast<uint8_t*>(data), length); }

size_t PageSize() {
    static const size_t size = [] {
        const long page = sysconf(_SC_PAGESIZE);
        return page > 0 ? static_cast<size_t>(page) : size_t{4096};
    }();
    return size;
}

void Prefetch(const uint8_t* data, size_t length) {
    void* at = const_cast<uint8_t*>(data);
#ifdef MADV_POPULATE_READ
    // Maps the pages in one call; older systems refuse the advice and fall back on faults.
    if (madvise(at, length, MADV_POPULATE_READ) == 0) return;
#endif
    madvise(at, length, MADV_WILLNEED);
}

// The mapping is private and never written, so dropping its pages loses nothing.
void Release(const uint8_t* data, size_t length) { madvise(const_cast<uint8_t*>(data), length, MADV_DONTNEED); }

std::string ProgramPath() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

}  // namespace tsumugi::platform
#endif

// The platform layer on Windows: files through CreateFileW and friends, wrapped in C
// runtime descriptor numbers so the rest of the core counts them as on POSIX. Paths come
// in as UTF-8 and are turned into UTF-16 here only, so any folder name works whatever the
// system's code page.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <io.h>

#include <cerrno>
#include <cstdlib>
#include <cwchar>
#include <limits>
#include <vector>

#include "core/platform.h"
#include "core/utf16.h"

namespace tsumugi::platform {

namespace {

// The errno closest to the system's last error, set and returned.
int SetErrnoFromLastError() {
    int err = EIO;
    switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            err = ENOENT;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:  // another program holds it without sharing
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            err = EACCES;
            break;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            err = EEXIST;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            err = ENOSPC;
            break;
        case ERROR_INVALID_HANDLE:
            err = EBADF;
            break;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            err = ENOMEM;
            break;
        case ERROR_DIRECTORY:
            err = ENOTDIR;
            break;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
            err = ENOENT;
            break;
        case ERROR_INVALID_FUNCTION:
        case ERROR_INVALID_PARAMETER:
            err = EINVAL;
            break;
        default:
            break;
    }
    errno = err;
    return err;
}

HANDLE HandleOf(int fd) {
    const intptr_t handle = _get_osfhandle(fd);
    if (handle == -1) {
        errno = EBADF;
        return INVALID_HANDLE_VALUE;
    }
    return reinterpret_cast<HANDLE>(handle);
}

// The path as UTF-16; false (EINVAL) when it is not UTF-8.
bool Wide(const char* path, std::wstring& out) {
    std::optional<std::wstring> wide = WideFromUtf8(path);
    if (!wide) {
        errno = EINVAL;
        return false;
    }
    out = std::move(*wide);
    return true;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// One ReadFile or WriteFile of at most 1 GiB; at `offset` when given.
template <typename Call>
ssize_t Transfer(int fd, size_t count, const uint64_t* offset, Call call) {
    const HANDLE handle = HandleOf(fd);
    if (handle == INVALID_HANDLE_VALUE) return -1;
    const DWORD want = static_cast<DWORD>(count < (size_t{1} << 30) ? count : (size_t{1} << 30));
    OVERLAPPED at{};
    if (offset != nullptr) {
        at.Offset = static_cast<DWORD>(*offset);
        at.OffsetHigh = static_cast<DWORD>(*offset >> 32);
    }
    DWORD done = 0;
    if (!call(handle, want, &done, offset != nullptr ? &at : nullptr)) {
        if (GetLastError() == ERROR_HANDLE_EOF || GetLastError() == ERROR_BROKEN_PIPE) return 0;
        SetErrnoFromLastError();
        return -1;
    }
    return static_cast<ssize_t>(done);
}

}  // namespace

int Open(const char* path, int flags, mode_t mode) {
    std::wstring wide;
    if (!Wide(path, wide)) return -1;
    DWORD access = GENERIC_READ;
    if ((flags & O_ACCMODE) == O_WRONLY) access = GENERIC_WRITE;
    if ((flags & O_ACCMODE) == O_RDWR) access = GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = OPEN_EXISTING;
    if (flags & O_CREAT) {
        disposition = (flags & O_EXCL) ? CREATE_NEW : (flags & O_TRUNC) ? CREATE_ALWAYS : OPEN_ALWAYS;
    } else if (flags & O_TRUNC) {
        disposition = TRUNCATE_EXISTING;
    }
    // A new file without write permission gets the read-only attribute, as POSIX would
    // give it mode 0444.
    const DWORD attributes = (flags & O_CREAT) && !(mode & 0200) ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
    const HANDLE handle = CreateFileW(wide.c_str(), access, kShareAll, nullptr, disposition,
                                      attributes | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        SetErrnoFromLastError();
        return -1;
    }
    int crtFlags = _O_BINARY | _O_NOINHERIT;
    if ((flags & O_ACCMODE) == O_RDONLY) crtFlags |= _O_RDONLY;
    if (flags & O_APPEND) crtFlags |= _O_APPEND;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), crtFlags);
    if (fd < 0) {
        CloseHandle(handle);
        errno = EMFILE;
        return -1;
    }
    return fd;
}

ssize_t Read(int fd, void* data, size_t count) {
    return Transfer(fd, count, nullptr, [data](HANDLE h, DWORD want, DWORD* done, OVERLAPPED* at) {
        return ReadFile(h, data, want, done, at) != 0;
    });
}

ssize_t ReadAt(int fd, void* data, size_t count, uint64_t offset) {
    return Transfer(fd, count, &offset, [data](HANDLE h, DWORD want, DWORD* done, OVERLAPPED* at) {
        return ReadFile(h, data, want, done, at) != 0;
    });
}

// Through the C runtime, which keeps O_APPEND (every write at the end).
ssize_t Write(int fd, const void* data, size_t count) {
    const unsigned want = static_cast<unsigned>(count < (size_t{1} << 30) ? count : (size_t{1} << 30));
    return _write(fd, data, want);
}

ssize_t WriteAt(int fd, const void* data, size_t count, uint64_t offset) {
    return Transfer(fd, count, &offset, [data](HANDLE h, DWORD want, DWORD* done, OVERLAPPED* at) {
        return WriteFile(h, data, want, done, at) != 0;
    });
}

int Sync(int fd) {
    const HANDLE handle = HandleOf(fd);
    if (handle == INVALID_HANDLE_VALUE) return -1;
    if (FlushFileBuffers(handle)) return 0;
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        errno = EINVAL;  // a console or a pipe: nothing to sync
        return -1;
    }
    SetErrnoFromLastError();
    return -1;
}

int Close(int fd) { return _close(fd); }

int Truncate(int fd, uint64_t length) {
    if (length > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
        errno = EFBIG;
        return -1;
    }
    const HANDLE handle = HandleOf(fd);
    if (handle == INVALID_HANDLE_VALUE) return -1;
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(length);
    if (!SetFileInformationByHandle(handle, FileEndOfFileInfo, &end, sizeof end)) {
        SetErrnoFromLastError();
        return -1;
    }
    return 0;
}

int Rename(const char* from, const char* to) {
    std::wstring wideFrom, wideTo;
    if (!Wide(from, wideFrom) || !Wide(to, wideTo)) return -1;
    if (!MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        SetErrnoFromLastError();
        return -1;
    }
    return 0;
}

int MakeFolder(const char* path) {
    std::wstring wide;
    if (!Wide(path, wide)) return -1;
    if (!CreateDirectoryW(wide.c_str(), nullptr)) {
        SetErrnoFromLastError();
        return -1;
    }
    return 0;
}

int Remove(const char* path) {
    std::wstring wide;
    if (!Wide(path, wide)) return -1;
    if (!DeleteFileW(wide.c_str())) {
        SetErrnoFromLastError();
        return -1;
    }
    return 0;
}

std::optional<FileStatus> Status(const std::string& path) {
    std::wstring wide;
    if (!Wide(path.c_str(), wide)) return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
        SetErrnoFromLastError();
        return std::nullopt;
    }
    FileStatus status;
    status.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.regular = !status.directory && (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0;
    status.writable = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
    status.length = uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
    return status;
}

std::optional<FileStatus> StatusOf(int fd) {
    const HANDLE handle = HandleOf(fd);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    FileStatus status;
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        status.regular = false;
        return status;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) {
        SetErrnoFromLastError();
        return std::nullopt;
    }
    status.directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status.regular = !status.directory;
    status.writable = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
    status.length = uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
    return status;
}

std::string WriteTarget(const std::string& path) { return path; }

bool NamesADescriptor(const std::string&) { return false; }

size_t LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

void CopyMode(int, uint32_t) {}

void StartWriteback(int, uint64_t, uint64_t) {}

unsigned long ProcessId() { return GetCurrentProcessId(); }

const uint8_t* Map(int fd, size_t length) {
    const HANDLE handle = HandleOf(fd);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    const HANDLE mapping = CreateFileMappingW(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr) {
        SetErrnoFromLastError();
        return nullptr;
    }
    // The view keeps the mapping alive after its handle is closed.
    void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, length);
    if (view == nullptr) SetErrnoFromLastError();
    CloseHandle(mapping);
    return static_cast<const uint8_t*>(view);
}

void Unmap(const uint8_t* data, size_t) { UnmapViewOfFile(data); }

size_t PageSize() {
    static const size_t size = [] {
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        return info.dwPageSize > 0 ? static_cast<size_t>(info.dwPageSize) : size_t{4096};
    }();
    return size;
}

// Windows reads a view's pages in on demand and trims them from the working set itself.
void Prefetch(const uint8_t*, size_t) {}
void Release(const uint8_t*, size_t) {}

std::string ProgramPath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return Utf8FromWide(std::wstring_view(buffer.data(), n));
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<std::string> Environment(const char* name) {
    std::wstring wide;
    if (!Wide(name, wide)) return std::nullopt;
    const wchar_t* value = _wgetenv(wide.c_str());
    if (value == nullptr || *value == L'\0') return std::nullopt;
    return Utf8FromWide(value);
}

}  // namespace tsumugi::platform
#endif

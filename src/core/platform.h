#pragma once
// What the core needs of the operating system, behind one small interface: files opened,
// read, written, synced, renamed and removed by descriptor number; a read-only mapping;
// the program's own path and the user's folders. platform_posix.cpp and
// platform_windows.cpp implement it; nothing else in the core calls the system for files.
//
// Paths are UTF-8 everywhere; the Windows side turns them into UTF-16 here and nowhere
// else. Failures follow POSIX: -1 (or false, or nullopt) with errno set.
#include <fcntl.h>
#include "core/sys_types.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Flags the Windows C runtime lacks; they mean nothing there.
#ifndef O_CLOEXEC
#define O_CLOEXEC 0
#endif
#ifndef O_DIRECTORY
#define O_DIRECTORY 0
#endif
#ifndef O_ACCMODE
#define O_ACCMODE (O_RDONLY | O_WRONLY | O_RDWR)
#endif

namespace tsumugi::platform {

// Each follows its POSIX namesake. Open takes O_RDONLY, O_WRONLY, O_RDWR, O_CREAT, O_EXCL,
// O_TRUNC, O_APPEND and O_DIRECTORY; on Windows a file opened by us lets others read,
// write and rename it meanwhile, and a file another program holds without sharing
// refuses us (EACCES). A positioned read or write leaves the descriptor's position alone
// on POSIX only: never mix the two kinds on one descriptor.
int Open(const char* path, int flags, mode_t mode);
ssize_t Read(int fd, void* data, size_t count);
ssize_t ReadAt(int fd, void* data, size_t count, uint64_t offset);
ssize_t Write(int fd, const void* data, size_t count);
ssize_t WriteAt(int fd, const void* data, size_t count, uint64_t offset);
int Sync(int fd);  // EINVAL for a descriptor that cannot be synced (a pipe, a console)
int Close(int fd);
int Truncate(int fd, uint64_t length);
// Replaces `to` when it exists; on Windows the move is written through before it returns.
int Rename(const char* from, const char* to);
int Remove(const char* path);
// Creates one folder (0700 where modes exist); EEXIST when something is there already.
int MakeFolder(const char* path);

struct FileStatus {
    bool regular = false;
    bool directory = false;
    bool writable = true;  // we may write the file (its permissions allow it)
    uint64_t length = 0;
    uint32_t mode = 0;     // POSIX permission bits; 0 on Windows
};
// The file the path names (a symbolic link followed), or nullopt.
std::optional<FileStatus> Status(const std::string& path);
std::optional<FileStatus> StatusOf(int fd);

// The file a write to path lands in: the target of a symbolic link, else path itself.
std::string WriteTarget(const std::string& path);
// True for a name of one of our own open descriptors (/dev/stdout, /dev/fd/N).
bool NamesADescriptor(const std::string& path);
// Index of the last path separator in path, or npos.
size_t LastSeparator(const std::string& path);
// Gives a new file the permission bits of the one it replaces (nothing on Windows).
void CopyMode(int fd, uint32_t mode);
// Whether a rename is durable only once its folder is synced (POSIX). Windows writes the
// move through before MoveFileEx returns and cannot sync a folder.
#ifdef _WIN32
constexpr bool kSyncFolders = false;
#else
constexpr bool kSyncFolders = true;
#endif
// Asks the system to start writing the range to the disk now; only a hint.
void StartWriteback(int fd, uint64_t offset, uint64_t length);
// A number that tells this process from the others running now.
unsigned long ProcessId();

// A read-only view of the first `length` bytes of an open file; null with errno set when
// it cannot be had. Unmap takes the pointer and the length back.
const uint8_t* Map(int fd, size_t length);
void Unmap(const uint8_t* data, size_t length);
size_t PageSize();
// Hints about a mapped range: read it in soon, or give its pages back (they are read
// again when touched). Both may do nothing.
void Prefetch(const uint8_t* data, size_t length);
void Release(const uint8_t* data, size_t length);

// The full path of the running program, or empty.
std::string ProgramPath();
// An environment variable as UTF-8; nullopt when it is unset or empty.
std::optional<std::string> Environment(const char* name);

}  // namespace tsumugi::platform

#pragma once
// Whole-file reads and writes. Failures come back as values; nothing throws.
//
// Paths are UTF-8 on every system (see core/platform.h, which does the system's part).
// Every call that changes a file goes through one replaceable table of functions (FileOps),
// so that a test can make the disk fail in any way it likes (full, broken, short writes,
// a sync or a close that fails) without filling a real disk.
#include "core/sys_types.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/byte_buffer.h"

namespace tsumugi {

// The separator this system writes between a folder and a name.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The system calls the write paths use. Each follows its POSIX namesake: -1 with errno set
// on failure.
struct FileOps {
    std::function<int(const char* path, int flags, mode_t mode)> open;
    std::function<ssize_t(int fd, const void* data, size_t count)> write;
    std::function<ssize_t(int fd, const void* data, size_t count, off_t offset)> pwrite;
    std::function<int(int fd)> fsync;
    std::function<int(int fd)> close;
    std::function<int(const char* from, const char* to)> rename;
    std::function<int(const char* path)> unlink;
    std::function<int(int fd, off_t length)> ftruncate;
};

// The real system calls.
FileOps SystemFileOps();

// The table in use.
const FileOps& CurrentFileOps();

// Installs a table for its lifetime and puts the one before back afterwards. Functions
// left empty in the given table are the system's.
class ScopedFileOps {
public:
    explicit ScopedFileOps(FileOps ops);
    ~ScopedFileOps();
    ScopedFileOps(const ScopedFileOps&) = delete;
    ScopedFileOps& operator=(const ScopedFileOps&) = delete;

private:
    FileOps m_previous;
};

// Reads the whole file; `extra` zeroed bytes are appended after the data (the buffer's
// Size() is the file length + extra). nullopt when the file cannot be opened or read, or
// is larger than 4 GiB - 1.
std::optional<ByteBuffer> ReadWholeFile(const std::string& path, size_t extra = 0);

// Replaces the file at path with exactly `size` bytes, all or nothing: the bytes go to a
// new file beside it, which is synced and then renamed over path, and the folder is synced.
// A file that is replaced keeps its permission bits; a new one gets 0644 less the umask. A
// symbolic link at path is followed, so the file it names is replaced; a file we may not
// write is refused; a device or pipe is written as it stands, and /dev/stdout (or another
// name of an open descriptor) gets the bytes after what it holds. False on any
// failure, with errno telling why; an earlier file of that name is then left as it was,
// and no temporary file stays behind. False also when the rename happened but the folder
// could not be synced: the new contents are in place but not known to be on disk. On Windows
// the rename replaces the file with MoveFileEx, written through, and there is no folder to
// sync; a file another program holds without delete sharing is not replaced (EACCES).
bool WriteWholeFile(const std::string& path, const uint8_t* data, size_t size);

// Hands over the bytes [offset, offset + length) of a file being written: a pointer to
// them, valid until the next call, or null (with errno set) when they cannot be had.
// Pieces are asked for in order from the start, none longer than kFilePiece.
using PieceSource = std::function<const uint8_t*(uint64_t offset, size_t length)>;

// How much of a file is written, and handed to the disk, at a time.
constexpr size_t kFilePiece = size_t{1} << 20;

// WriteWholeFile for bytes that are made piece by piece as they are written, so that a
// big file never has to be held whole: the same guarantees, and a source that gives null
// fails the write like a failing disk.
bool WriteFileFrom(const std::string& path, size_t size, const PieceSource& source);

// Asks the system to start writing the range to the disk now, without waiting, so that a
// later sync has less left to wait for. Only a hint: nothing is reported.
void StartWriteback(int fd, uint64_t offset, uint64_t length);

// Cuts (or lengthens with zeros) the existing file at path to length bytes and syncs it.
bool ResizeFile(const std::string& path, uint64_t length);

// Length of an existing file, or nullopt.
std::optional<uint64_t> FileLength(const std::string& path);
// Length of an open file, or nullopt.
std::optional<uint64_t> FileLengthOf(int fd);

// Appends the bytes to the file at path (made when missing) and syncs it. False on any
// failure, with errno set; a failed append may have left part of the bytes.
bool AppendToFile(const std::string& path, const uint8_t* data, size_t size);

// Removes a file; renames one, replacing `to` when it exists. Both through the current
// FileOps; false with errno set on failure.
bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);

// The folders where this user's state (journals, history) and settings belong, as UTF-8
// paths; neither is created here. State: $XDG_STATE_HOME/tsumugi, else
// ~/.local/state/tsumugi (on Windows %LOCALAPPDATA%\tsumugi). Settings:
// $XDG_CONFIG_HOME/tsumugi, else ~/.config/tsumugi (on Windows %APPDATA%\tsumugi). Empty
// when the system names no such place.
std::string UserStateFolder();
std::string UserConfigFolder();

// Creates the folder and every missing parent (0700 where modes exist). True when it
// exists afterwards.
bool MakeFolders(const std::string& path);

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

// Opens through the current FileOps (O_CLOEXEC is added); -1 with errno set on failure.
int OpenFile(const std::string& path, int flags, mode_t mode = 0);

// Opens a regular file for reading (O_CLOEXEC), not through FileOps; its length through
// `length`. -1 when it
// cannot be opened or is no regular file.
int OpenRegularFile(const std::string& path, uint64_t& length);

// Reads exactly size bytes from the descriptor's position, retrying short and interrupted
// reads. False on a failed read or when the file ends first.
bool ReadAll(int fd, uint8_t* data, size_t size);
// The same at offset, leaving the descriptor's position alone.
bool ReadAllAt(int fd, uint8_t* data, size_t size, uint64_t offset);

// Writes all size bytes at the descriptor's position (or at offset), retrying short and
// interrupted writes. False on the first failed write, with errno set; `done` (optional)
// receives how many bytes were written before it.
bool WriteAll(int fd, const uint8_t* data, size_t size, size_t* done = nullptr);
bool WriteAllAt(int fd, const uint8_t* data, size_t size, uint64_t offset, size_t* done = nullptr);

// fsync through the current FileOps, retried when interrupted.
bool SyncFile(int fd);

}  // namespace tsumugi

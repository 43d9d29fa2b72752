#pragma once
// A disk that fails on cue: replaces the file layer's system calls for its lifetime so a
// test can make writes fail (full, broken, short), or a sync, close, rename or open.
#include <sys/types.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>

#include "core/file_io.h"

namespace tsumugi::testing {

// One way for the disk to fail: calls of one kind fail with err once `after` of them have
// succeeded. With shortFirst the first write hands over only half its bytes (and counts as
// one that succeeded); a call kind of "none" makes nothing fail.
struct DiskFault {
    const char* name;
    const char* call;  // "write" (write and pwrite), "fsync", "close", "rename", "open", "none"
    int err;
    int after = 0;
    bool shortFirst = false;
};

class FaultyDisk {
public:
    explicit FaultyDisk(const DiskFault& fault) : m_fault(fault), m_scope(Ops()) {}

private:
    bool Fails(const std::string& call) {
        if (call != m_fault.call) return false;
        if (m_calls[call]++ < m_fault.after + (m_fault.shortFirst ? 1 : 0)) return false;
        errno = m_fault.err;
        return true;
    }
    size_t Shorten(size_t count) {
        return m_fault.shortFirst && ++m_writes == 1 && count > 1 ? count / 2 : count;
    }
    FileOps Ops() {
        const FileOps real = SystemFileOps();
        FileOps ops;
        ops.open = [this, real](const char* path, int flags, mode_t mode) {
            return Fails("open") ? -1 : real.open(path, flags, mode);
        };
        ops.write = [this, real](int fd, const void* data, size_t count) -> ssize_t {
            return Fails("write") ? -1 : real.write(fd, data, Shorten(count));
        };
        ops.pwrite = [this, real](int fd, const void* data, size_t count, off_t at) -> ssize_t {
            return Fails("write") ? -1 : real.pwrite(fd, data, Shorten(count), at);
        };
        ops.fsync = [this, real](int fd) { return Fails("fsync") ? -1 : real.fsync(fd); };
        ops.close = [this, real](int fd) {
            const int r = real.close(fd);  // the descriptor is gone either way
            return Fails("close") ? -1 : r;
        };
        ops.rename = [this, real](const char* from, const char* to) {
            return Fails("rename") ? -1 : real.rename(from, to);
        };
        return ops;
    }

    DiskFault m_fault;
    std::map<std::string, int> m_calls;
    int m_writes = 0;
    ScopedFileOps m_scope;
};

// No file in folder is a leftover temporary file of a whole-file write.
inline bool NoTemporaryFile(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) return false;
    }
    return true;
}

}  // namespace tsumugi::testing

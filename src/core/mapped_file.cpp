#include "core/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "core/file_io.h"

namespace tsumugi {

namespace {

constexpr uint64_t kMaxLength = std::numeric_limits<uint32_t>::max();

size_t PageSize() {
    static const size_t size = [] {
        const long page = sysconf(_SC_PAGESIZE);
        return page > 0 ? static_cast<size_t>(page) : size_t{4096};
    }();
    return size;
}

}  // namespace

MappedFile::MappedFile(MappedFile&& other) noexcept
    : m_pData(std::exchange(other.m_pData, nullptr)),
      m_nSize(std::exchange(other.m_nSize, 0)),
      m_open(std::exchange(other.m_open, false)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_pData = std::exchange(other.m_pData, nullptr);
        m_nSize = std::exchange(other.m_nSize, 0);
        m_open = std::exchange(other.m_open, false);
    }
    return *this;
}

bool MappedFile::Open(const std::string& path) {
    Close();
    uint64_t length = 0;
    FileHandle file(OpenRegularFile(path, length));
    if (!file.IsOpen() || length > kMaxLength) return false;
    if (length > 0) {
        void* mapped =
            mmap(nullptr, static_cast<size_t>(length), PROT_READ, MAP_PRIVATE, file.Get(), 0);
        if (mapped == MAP_FAILED) return false;
        m_pData = static_cast<const uint8_t*>(mapped);
    }
    m_nSize = static_cast<size_t>(length);
    m_open = true;
    return true;
}

void MappedFile::Close() {
    if (m_pData != nullptr) munmap(const_cast<uint8_t*>(m_pData), m_nSize);
    m_pData = nullptr;
    m_nSize = 0;
    m_open = false;
}

void MappedFile::Prefetch(size_t offset, size_t length) const {
    if (m_pData == nullptr || offset >= m_nSize) return;
    if (length > m_nSize - offset) length = m_nSize - offset;
    const size_t start = offset / PageSize() * PageSize();
#ifdef MADV_POPULATE_READ
    // Maps the pages in one call; older systems refuse the advice and fall back on faults.
    if (madvise(const_cast<uint8_t*>(m_pData) + start, offset + length - start,
                MADV_POPULATE_READ) == 0)
        return;
#endif
    madvise(const_cast<uint8_t*>(m_pData) + start, offset + length - start, MADV_WILLNEED);
}

void MappedFile::Release(size_t offset, size_t length) const {
    if (m_pData == nullptr || offset >= m_nSize) return;
    const size_t page = PageSize();
    const size_t start = (offset + page - 1) / page * page;
    const size_t end = length >= m_nSize - offset ? m_nSize : (offset + length) / page * page;
    if (start >= end) return;
    // The mapping is private and never written, so dropping its pages loses nothing.
    madvise(const_cast<uint8_t*>(m_pData) + start, end - start, MADV_DONTNEED);
}

}  // namespace tsumugi

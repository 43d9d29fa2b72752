#include "core/mapped_file.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "core/file_io.h"
#include "core/platform.h"

namespace tsumugi {

namespace {

constexpr uint64_t kMaxLength = std::numeric_limits<uint32_t>::max();

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
        m_pData = platform::Map(file.Get(), static_cast<size_t>(length));
        if (m_pData == nullptr) return false;
    }
    m_nSize = static_cast<size_t>(length);
    m_open = true;
    return true;
}

void MappedFile::Close() {
    if (m_pData != nullptr) platform::Unmap(m_pData, m_nSize);
    m_pData = nullptr;
    m_nSize = 0;
    m_open = false;
}

void MappedFile::Prefetch(size_t offset, size_t length) const {
    if (m_pData == nullptr || offset >= m_nSize) return;
    if (length > m_nSize - offset) length = m_nSize - offset;
    const size_t start = offset / platform::PageSize() * platform::PageSize();
    platform::Prefetch(m_pData + start, offset + length - start);
}

void MappedFile::Release(size_t offset, size_t length) const {
    if (m_pData == nullptr || offset >= m_nSize) return;
    const size_t page = platform::PageSize();
    const size_t start = (offset + page - 1) / page * page;
    const size_t end = length >= m_nSize - offset ? m_nSize : (offset + length) / page * page;
    if (start >= end) return;
    platform::Release(m_pData + start, end - start);
}

}  // namespace tsumugi

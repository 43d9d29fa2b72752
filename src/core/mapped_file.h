#pragma once
// Large files read once, without holding them twice: a read-only mapping that can give
// back the pages already read.
// Failures come back as values; nothing throws.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tsumugi {

// A regular file mapped read-only, whole. Reading Data() brings pages in from the page
// cache; Release gives back those the caller is done with, so that walking a large file
// piece by piece keeps the process small.
//
// The mapping shows the file as it is on disk: a file another program shortens while it is
// mapped cannot be read past its new end.
class MappedFile {
public:
    MappedFile() = default;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    ~MappedFile() { Close(); }

    // Maps the file at path, dropping any earlier mapping first. False (and nothing
    // mapped) when it cannot be opened, is not a regular file, is longer than
    // 4 GiB - 1 or cannot be mapped. An empty file is opened with Size() 0 and a null
    // Data().
    bool Open(const std::string& path);
    void Close();

    bool IsOpen() const { return m_open; }
    const uint8_t* Data() const { return m_pData; }
    size_t Size() const { return m_nSize; }

    // Asks for the pages of [offset, offset + length) at once, ahead of reading them. The
    // part of the range outside the file is ignored; a system that cannot do it is no
    // fault.
    void Prefetch(size_t offset, size_t length) const;

    // Gives back the pages that lie wholly inside [offset, offset + length) (the file's
    // last partial page counts as whole). The contents stay readable: reading the range
    // again brings the pages back.
    void Release(size_t offset, size_t length) const;

private:
    const uint8_t* m_pData = nullptr;
    size_t m_nSize = 0;
    bool m_open = false;
};

}  // namespace tsumugi

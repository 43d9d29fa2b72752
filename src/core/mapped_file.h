#pragma once
// Large files read once, without holding them twice: a read-only mapping that can give
// back the pages already read, and private page memory that a whole image is read into.
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

// Private, writable, zero-filled memory in whole pages, for an image read in at once. Large
// blocks are asked for in large pages where the system offers them, so that filling 32 MiB
// costs tens of page faults instead of thousands.
class PageMemory {
public:
    PageMemory() = default;
    PageMemory(const PageMemory&) = delete;
    PageMemory& operator=(const PageMemory&) = delete;
    PageMemory(PageMemory&& other) noexcept;
    PageMemory& operator=(PageMemory&& other) noexcept;
    ~PageMemory() { Free(); }

    // Frees any block held, then gets size zeroed bytes. False (and nothing held) when the
    // memory cannot be had; a size of 0 holds nothing and succeeds.
    bool Allocate(size_t size);
    void Free();

    uint8_t* Data() { return m_pData; }
    const uint8_t* Data() const { return m_pData; }
    size_t Size() const { return m_nSize; }

private:
    uint8_t* m_pData = nullptr;  // inside the mapping, aligned for large pages
    size_t m_nSize = 0;
    void* m_pMapping = nullptr;
    size_t m_nMapping = 0;
};

// Reads the regular file at path, which must be exactly `length` bytes long, into fresh
// memory of `size` bytes (size >= length); the bytes past the file's end are set to
// `fill`. False when the file cannot be opened or read, is not a regular file, is not
// `length` bytes long, when size < length, or when the memory cannot be had; `memory`
// holds nothing then.
bool ReadFileImage(const std::string& path, uint64_t length, size_t size, uint8_t fill,
                   PageMemory& memory);

}  // namespace tsumugi

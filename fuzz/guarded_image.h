#pragma once
// The image an editor runs on under the fuzzer, in a mapping of its own. The pages that
// hold no byte the editor may write are read-only, so a stray write stops the run at once
// with the writer on the stack, and only the few bytes that share a page with writable
// ones need comparing afterwards. The bytes from the image's length to its capacity are
// poisoned for AddressSanitizer and a page no one may touch lies on either side, so that
// reading past either end is caught.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzzing {

// A stretch of the image.
struct Area {
    uint32_t offset;
    uint32_t length;
};

class GuardedImage {
public:
    explicit GuardedImage(uint32_t capacity);
    ~GuardedImage();
    GuardedImage(const GuardedImage&) = delete;
    GuardedImage& operator=(const GuardedImage&) = delete;

    uint8_t* Data() const { return m_data; }
    uint32_t Size() const { return m_size; }
    uint32_t Capacity() const { return m_capacity; }

    // The image is its first size bytes (at most the capacity); the rest is poisoned.
    void Resize(uint32_t size);
    // Only the pages holding a byte of writable stay writable. Returns the bytes on those
    // pages outside writable: the ones a run must compare itself.
    std::vector<Area> Guard(const std::vector<Area>& writable);
    // Copies n bytes to offset (inside the capacity), read-only pages or not.
    void Write(uint32_t offset, const uint8_t* bytes, size_t n);

private:
    struct PageRun {
        size_t first, last;  // page numbers within the body, inclusive
    };
    size_t PageOf(uint64_t offset) const;
    void Protect(size_t first, size_t last, bool writable) const;

    uint8_t* m_map = nullptr;
    size_t m_mapLength = 0;
    size_t m_page = 0;
    uint8_t* m_body = nullptr;  // the first page after the leading guard page
    uint8_t* m_data = nullptr;
    uint32_t m_capacity = 0;
    uint32_t m_size = 0;
    std::vector<PageRun> m_open;  // the writable pages, in order
};

}  // namespace fuzzing

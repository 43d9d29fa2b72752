#include "guarded_image.h"

#include <sanitizer/asan_interface.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "fuzz_check.h"

namespace fuzzing {

GuardedImage::GuardedImage(uint32_t capacity)
    : m_page(static_cast<size_t>(sysconf(_SC_PAGESIZE))), m_capacity(capacity), m_size(capacity) {
    const size_t body = (capacity + m_page - 1) / m_page * m_page;
    m_mapLength = body + 2 * m_page;
    void* map = mmap(nullptr, m_mapLength, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    FUZZ_CHECK(map != MAP_FAILED);
    m_map = static_cast<uint8_t*>(map);
    m_body = m_map + m_page;
    // The image ends where the guard page after it begins.
    m_data = m_body + (body - capacity);
    Protect(0, body / m_page - 1, true);
    m_open.push_back({0, body / m_page - 1});
}

GuardedImage::~GuardedImage() {
    ASAN_UNPOISON_MEMORY_REGION(m_data, m_capacity);
    munmap(m_map, m_mapLength);
}

size_t GuardedImage::PageOf(uint64_t offset) const {
    return static_cast<size_t>(static_cast<uint64_t>(m_data - m_body) + offset) / m_page;
}

void GuardedImage::Protect(size_t first, size_t last, bool writable) const {
    const int prot = writable ? PROT_READ | PROT_WRITE : PROT_READ;
    FUZZ_CHECK(mprotect(m_body + first * m_page, (last - first + 1) * m_page, prot) == 0);
}

void GuardedImage::Resize(uint32_t size) {
    m_size = std::min(size, m_capacity);
    ASAN_UNPOISON_MEMORY_REGION(m_data, m_size);
    ASAN_POISON_MEMORY_REGION(m_data + m_size, m_capacity - m_size);
}

std::vector<Area> GuardedImage::Guard(const std::vector<Area>& writable) {
    std::vector<Area> areas;
    for (const Area& a : writable) {
        const uint64_t end = std::min<uint64_t>(static_cast<uint64_t>(a.offset) + a.length, m_size);
        if (a.offset < end) areas.push_back({a.offset, static_cast<uint32_t>(end - a.offset)});
    }
    std::sort(areas.begin(), areas.end(), [](const Area& x, const Area& y) { return x.offset < y.offset; });

    // Runs of pages that hold writable bytes, joining runs that touch, and the bytes on
    // them outside the areas.
    std::vector<PageRun> open;
    std::vector<Area> shared;
    for (size_t i = 0; i < areas.size();) {
        PageRun run{PageOf(areas[i].offset), PageOf(uint64_t{areas[i].offset} + areas[i].length - 1)};
        size_t j = i + 1;
        while (j < areas.size() && PageOf(areas[j].offset) <= run.last + 1) {
            run.last = std::max(run.last, PageOf(uint64_t{areas[j].offset} + areas[j].length - 1));
            ++j;
        }
        const int64_t lead = m_data - m_body;
        uint64_t at = static_cast<uint64_t>(std::max<int64_t>(static_cast<int64_t>(run.first * m_page) - lead, 0));
        const uint64_t stop = std::min<uint64_t>(static_cast<uint64_t>(static_cast<int64_t>((run.last + 1) * m_page) - lead), m_size);
        for (size_t k = i; k < j; ++k) {
            if (areas[k].offset > at) shared.push_back({static_cast<uint32_t>(at), static_cast<uint32_t>(areas[k].offset - at)});
            at = std::max<uint64_t>(at, uint64_t{areas[k].offset} + areas[k].length);
        }
        if (stop > at) shared.push_back({static_cast<uint32_t>(at), static_cast<uint32_t>(stop - at)});
        open.push_back(run);
        i = j;
    }

    const bool same = open.size() == m_open.size() &&
                      std::equal(open.begin(), open.end(), m_open.begin(), [](const PageRun& x, const PageRun& y) {
                          return x.first == y.first && x.last == y.last;
                      });
    if (!same) {
        Protect(0, (m_mapLength - 2 * m_page) / m_page - 1, false);
        for (const PageRun& run : open) Protect(run.first, run.last, true);
        m_open = std::move(open);
    }
    return shared;
}

void GuardedImage::Write(uint32_t offset, const uint8_t* bytes, size_t n) {
    if (n == 0) return;
    FUZZ_CHECK(uint64_t{offset} + n <= m_capacity);
    const size_t first = PageOf(offset), last = PageOf(uint64_t{offset} + n - 1);
    const bool open = std::any_of(m_open.begin(), m_open.end(),
                                  [&](const PageRun& r) { return r.first <= first && last <= r.last; });
    // Bytes past the image's length are poisoned, yet ours to reset.
    ASAN_UNPOISON_MEMORY_REGION(m_data + offset, n);
    if (!open) Protect(first, last, true);
    std::memcpy(m_data + offset, bytes, n);
    if (!open) {
        Protect(first, last, false);
        for (const PageRun& r : m_open)
            if (r.first <= last && first <= r.last) Protect(std::max(r.first, first), std::min(r.last, last), true);
    }
    if (uint64_t{offset} + n > m_size) Resize(m_size);
}

}  // namespace fuzzing

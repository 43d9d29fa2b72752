#include "editors/abilities/class_list.h"

#include <algorithm>

#include "core/bytes.h"

namespace editors {
namespace {

uint32_t ReadWidth(const uint8_t* p, int width) {
    return width == 1 ? p[0] : width == 2 ? tsumugi::Read16(p) : tsumugi::Read32(p);
}

void WriteWidth(uint8_t* p, int width, uint32_t value) {
    if (width == 1) {
        p[0] = static_cast<uint8_t>(value);
    } else if (width == 2) {
        tsumugi::Write16(p, static_cast<uint16_t>(value));
    } else {
        tsumugi::Write32(p, value);
    }
}

}  // namespace

int64_t ClassList::RawCount() const {
    if (m_pRecord == nullptr) return 0;
    const uint32_t raw = ReadWidth(m_pRecord + m_layout.countField, m_layout.countWidth);
    if (!m_layout.countSigned) return raw;
    const int bits = 8 * m_layout.countWidth;
    const uint32_t sign = 1u << (bits - 1);
    return (raw & sign) != 0 ? static_cast<int64_t>(raw) - (int64_t{1} << bits) : raw;
}

int ClassList::Size() const {
    return static_cast<int>(std::clamp<int64_t>(RawCount(), 0, m_layout.maxEntries));
}

uint32_t ClassList::Entry(int k) const {
    if (m_pRecord == nullptr || k < 0 || k >= m_layout.maxEntries) return 0;
    const uint32_t at = m_layout.entries + static_cast<uint32_t>(m_layout.entryWidth * k);
    return ReadWidth(m_pRecord + at, m_layout.entryWidth);
}

void ClassList::SetEntry(int k, uint32_t value) {
    const uint32_t at = m_layout.entries + static_cast<uint32_t>(m_layout.entryWidth * k);
    WriteWidth(m_pRecord + at, m_layout.entryWidth, value);
}

void ClassList::SetCount(int n) {
    WriteWidth(m_pRecord + m_layout.countField, m_layout.countWidth, static_cast<uint32_t>(n));
}

AddResult ClassList::Add(uint32_t value) {
    if (m_pRecord == nullptr) return AddResult::NoRecord;
    // The capacity test comes before the test for a number already there.
    if (RawCount() >= m_layout.maxEntries) return AddResult::Full;
    const int n = Size();
    for (int k = 0; k < n; ++k) {
        if (Entry(k) == value) return AddResult::AlreadyThere;
    }
    SetEntry(n, value);
    SetCount(n + 1);
    return AddResult::Added;
}

bool ClassList::Remove(int k) {
    const int n = Size();
    if (m_pRecord == nullptr || k < 0 || k >= n) return false;
    for (int i = k; i + 1 < n; ++i) SetEntry(i, Entry(i + 1));
    SetEntry(n - 1, 0);
    // The count becomes what the list shows, so that a count beyond the slots comes back
    // into range instead of pointing past the record.
    SetCount(n - 1);
    return true;
}

bool ClassList::SwapWithNext(int k) {
    if (m_pRecord == nullptr || k < 0 || k + 1 >= Size()) return false;
    const uint32_t first = Entry(k);
    SetEntry(k, Entry(k + 1));
    SetEntry(k + 1, first);
    return true;
}

}  // namespace editors

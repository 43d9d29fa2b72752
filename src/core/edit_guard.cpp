#include "core/edit_guard.h"

#include <cstring>

#include "core/bytes.h"

namespace tsumugi {

namespace {
bool CopyOut(const uint8_t* from, uint32_t length, ByteBuffer& to) {
    if (!to.Allocate(length)) return false;
    if (length > 0) std::memcpy(to.Data(), from, length);
    return true;
}
}  // namespace

EditGuard::BeginResult EditGuard::Begin(const RomImage& rom, int category) {
    m_copies.clear();
    m_extension.Free();
    m_hasExtension = false;
    m_pRom = nullptr;
    m_nSize = 0;
    if (!rom.IsLoaded()) return BeginResult::NoRom;

    const std::vector<DataRegion> regions = RegionsOf(category);
    // A file accepted in spite of a wrong title can end before a region does.
    for (const DataRegion& region : regions) {
        if (static_cast<uint64_t>(region.offset) + region.length > rom.m_nSize)
            return BeginResult::RomTooShort;
    }

    std::vector<Copy> copies;
    copies.reserve(regions.size());
    for (const DataRegion& region : regions) {
        Copy copy{region, ByteBuffer()};
        if (!CopyOut(rom.m_pData + region.offset, region.length, copy.bytes))
            return BeginResult::OutOfMemory;
        copies.push_back(std::move(copy));
    }
    if (rom.m_nSize > kGameDataEnd) {
        if (!CopyOut(rom.m_pData + kGameDataEnd, rom.m_nSize - kGameDataEnd, m_extension))
            return BeginResult::OutOfMemory;
        m_hasExtension = true;
    }
    m_copies = std::move(copies);
    m_pRom = rom.m_pData;
    m_nSize = rom.m_nSize;
    return BeginResult::Ok;
}

void EditGuard::Commit(PatchCodeList& codes) {
    if (m_pRom == nullptr) return;
    for (const Copy& copy : m_copies) {
        DiffRegion(copy.bytes.Data(), m_pRom + copy.region.offset, copy.region.offset,
                   copy.region.length, codes);
    }
    if (m_hasExtension) {
        DiffRegion(m_extension.Data(), m_pRom + kGameDataEnd, kGameDataEnd,
                   m_nSize - kGameDataEnd, codes);
    }
}

void EditGuard::Collect(Step& step) const {
    if (m_pRom == nullptr) return;
    for (const Copy& copy : m_copies) {
        AddByteChanges(step, copy.region.offset, copy.bytes.Data(), m_pRom + copy.region.offset,
                       copy.region.length);
    }
    if (m_hasExtension) {
        AddByteChanges(step, kGameDataEnd, m_extension.Data(), m_pRom + kGameDataEnd,
                       m_nSize - kGameDataEnd);
    }
}

void EditGuard::Restore() {
    if (m_pRom == nullptr) return;
    for (const Copy& copy : m_copies) {
        if (copy.region.length > 0)
            std::memcpy(m_pRom + copy.region.offset, copy.bytes.Data(), copy.region.length);
    }
    if (m_hasExtension) std::memcpy(m_pRom + kGameDataEnd, m_extension.Data(), m_extension.Size());
}

}  // namespace tsumugi

#include "core/scenario_lists.h"

#include "core/bytes.h"
#include "core/layout/scenario.h"

namespace tsumugi {

namespace {
constexpr uint32_t kUsableEnd = 0x02000000;  // 32 MiB: the cartridge's whole bus window
}

ChapterTarget ConvertChapterPointer(uint32_t pointer, uint32_t recordSize, uint32_t romSize) {
    const uint32_t offset = pointer >= kBusBase ? pointer - kBusBase : pointer;
    if (offset == 0) return {PointerTarget::None, 0};
    if (offset >= kUsableEnd) return {PointerTarget::Unusable, offset};
    if (static_cast<uint64_t>(offset) + recordSize > romSize) return {PointerTarget::PastImage, offset};
    return {PointerTarget::Inside, offset};
}

bool ReadChapterPointers(const uint8_t* rom, uint32_t romSize, int n, uint32_t& deployPointer,
                         uint32_t& messagePointer) {
    namespace table = layout::chapter_pointer_table;
    if (rom == nullptr || n < 0 || n >= table::kCount) return false;
    const uint64_t at = table::kBase + static_cast<uint64_t>(table::kEntrySize) * static_cast<uint32_t>(n);
    if (at + table::kMessageTable + 4 > romSize) return false;
    deployPointer = Read32(rom + at + table::kDeployList);
    messagePointer = Read32(rom + at + table::kMessageTable);
    return true;
}

bool IsDeployTerminator(const uint8_t* record) {
    namespace dr = layout::deploy_record;
    for (uint32_t k = 0; k < 6; ++k)
        if (record[k] != 0xFF) return false;
    return record[dr::kX] == 0xFF && record[dr::kY] == 0xFF;
}

DeployScan ScanDeployList(const uint8_t* rom, uint32_t romSize, uint32_t offset) {
    namespace dr = layout::deploy_record;
    DeployScan scan;
    if (rom == nullptr) return scan;
    for (int k = 0; k < dr::kMaxCount; ++k) {
        const uint64_t at = offset + static_cast<uint64_t>(dr::kSize) * static_cast<uint32_t>(k);
        if (at + dr::kSize > romSize) {
            scan.pastImage = true;
            return scan;
        }
        if (IsDeployTerminator(rom + at)) return scan;
        ++scan.count;
    }
    return scan;
}

}  // namespace tsumugi

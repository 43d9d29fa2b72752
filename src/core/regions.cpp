#include "core/regions.h"

#include "core/bytes.h"

namespace tsumugi {

std::vector<DataRegion> RegionsOf(int category) {
    std::vector<DataRegion> rows;
    for (const DataRegion& region : kRegionTable)
        if (region.category == category) rows.push_back(region);
    return rows;
}

bool WritableFor(int category, uint32_t offset, uint32_t length, uint32_t romSize) {
    const uint64_t end = static_cast<uint64_t>(offset) + length;
    if (end > romSize) return false;
    if (offset >= kGameDataEnd) return true;
    for (const DataRegion& region : kRegionTable) {
        if (region.category == category && offset >= region.offset &&
            end <= static_cast<uint64_t>(region.offset) + region.length) {
            return true;
        }
    }
    return false;
}

}  // namespace tsumugi

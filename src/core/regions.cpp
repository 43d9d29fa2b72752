#include "core/regions.h"

namespace tsumugi {

std::vector<DataRegion> RegionsOf(int category) {
    std::vector<DataRegion> rows;
    for (const DataRegion& region : kRegionTable)
        if (region.category == category) rows.push_back(region);
    return rows;
}

}  // namespace tsumugi

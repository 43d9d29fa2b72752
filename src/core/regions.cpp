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

namespace {
constexpr const char* kCategoryLabels[kCategoryCount] = {
    "ユニット",     "パイロットステータス", "パイロット精神", "パイロット技能",
    "武器",         "信頼補正",             "精神",           "特殊技能",
    "特殊技能分類", "強化パーツ",           "強化パーツ分類", "エースボーナス",
    "フル改造ボーナス", "バトルセリフ",     "シナリオデータ",
};
}  // namespace

const char* CategoryLabel(int category) {
    return category >= 0 && category < kCategoryCount ? kCategoryLabels[category] : "";
}

}  // namespace tsumugi

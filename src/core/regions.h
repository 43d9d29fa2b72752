#pragma once
// Where in the ROM each data category lives. A category's regions are copied, compared
// and restored in table order.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/layout/abilities.h"
#include "core/layout/battle.h"
#include "core/layout/bonuses.h"
#include "core/layout/pilots.h"
#include "core/layout/scenario.h"
#include "core/layout/units.h"

namespace tsumugi {

struct DataRegion {
    uint16_t category;
    uint32_t offset;
    uint32_t length;
};

constexpr int kCategoryCount = 15;

// The category list's text of category (UTF-8), row = category number; "" for any other
// number.
const char* CategoryLabel(int category);

namespace category {
constexpr int kUnit = 0, kPilotStatus = 1, kPilotSpirit = 2, kPilotSkill = 3, kWeapon = 4,
              kTrust = 5, kSpirit = 6, kSkill = 7, kSkillClass = 8, kParts = 9,
              kPartsClass = 10, kAceBonus = 11, kFullBonus = 12, kBattleLine = 13,
              kScenario = 14;
}

namespace detail {
constexpr uint32_t Span(uint32_t size, int count) { return size * static_cast<uint32_t>(count); }
}  // namespace detail

// The regions each category's editor may write, in the order they are copied and compared.
constexpr std::array<DataRegion, 16> kRegionTable = {{
    {category::kUnit, layout::unit_record::kBase,
     detail::Span(layout::unit_record::kSize, layout::unit_record::kCount)},
    {category::kPilotStatus, layout::pilot_record::kBase,
     detail::Span(layout::pilot_record::kSize, layout::pilot_record::kCount)},
    {category::kPilotSpirit, layout::pilot_spirit_record::kBase,
     detail::Span(layout::pilot_spirit_record::kSize, layout::pilot_spirit_record::kCount)},
    {category::kPilotSkill, layout::pilot_skill_record::kBase,
     detail::Span(layout::pilot_skill_record::kSize, layout::pilot_skill_record::kCount)},
    {category::kTrust, layout::trust_record::kBase,
     detail::Span(layout::trust_record::kSize, layout::trust_record::kCount)},
    {category::kSpirit, layout::spirit_record::kBase,
     detail::Span(layout::spirit_record::kSize, layout::spirit_record::kCount)},
    {category::kSkill, layout::skill_record::kBase,
     detail::Span(layout::skill_record::kSize, layout::skill_record::kCount)},
    {category::kSkillClass, layout::skill_class_record::kBase,
     detail::Span(layout::skill_class_record::kSize, layout::skill_class_record::kCount)},
    {category::kWeapon, layout::weapon_record::kBase,
     detail::Span(layout::weapon_record::kSize, layout::weapon_record::kCount)},
    {category::kParts, layout::part_record::kBase,
     detail::Span(layout::part_record::kSize, layout::part_record::kCount)},
    {category::kPartsClass, layout::part_class_record::kBase,
     detail::Span(layout::part_class_record::kSize, layout::part_class_record::kCount)},
    {category::kBattleLine, layout::battle_tables::kTextStart,
     layout::battle_tables::kTextEnd - layout::battle_tables::kTextStart},
    {category::kBattleLine, layout::battle_tables::kTableStart,
     layout::battle_tables::kPointerTable - layout::battle_tables::kTableStart},
    {category::kAceBonus, layout::ace_record::kBase,
     detail::Span(layout::ace_record::kSize, layout::ace_record::kCount)},
    {category::kFullBonus, layout::full_record::kBase,
     detail::Span(layout::full_record::kSize, layout::full_record::kCount)},
    {category::kScenario, layout::scenario_area::kStart,
     layout::scenario_area::kEnd - layout::scenario_area::kStart},
}};

// The rows of one category, in table order.
std::vector<DataRegion> RegionsOf(int category);

// Whether an editor of category may write the length bytes at offset: only there does the
// main window record its changes as codes and undo them on Cancel. True when the bytes lie
// wholly inside one of the category's regions, or wholly in the extension area at or past
// 16 MiB within an image of romSize bytes.
bool WritableFor(int category, uint32_t offset, uint32_t length, uint32_t romSize);

}  // namespace tsumugi

#include "core/layout/descriptor.h"

#include <vector>

#include "core/bytes.h"
#include "core/layout/abilities.h"
#include "core/layout/bonuses.h"
#include "core/layout/pilots.h"
#include "core/layout/units.h"

namespace tsumugi::layout {

std::span<const Table> Tables() {
    static const std::vector<Table> all = [] {
        std::vector<Table> tables;
        for (auto family : {detail::UnitTables(), detail::AbilityTables(), detail::BonusTables()}) {
            tables.insert(tables.end(), family.begin(), family.end());
        }
        return tables;
    }();
    return all;
}

const Table* FindTable(std::string_view name) {
    for (const Table& table : Tables()) {
        if (name == table.name) return &table;
    }
    return nullptr;
}

uint32_t MaxOf(const Field& field) {
    if (field.max != 0) return field.max;
    const int bits = field.bits != 0 ? field.bits : 8 * field.width;
    return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
}

uint32_t ReadField(const Field& field, const uint8_t* record) {
    if (field.kind == FieldKind::Text) return 0;
    const uint8_t* p = record + field.offset;
    const uint32_t whole = field.width == 1 ? p[0] : field.width == 2 ? Read16(p) : Read32(p);
    if (field.bits == 0) return whole;
    return (whole >> field.shift) & ((1u << field.bits) - 1);
}

void WriteField(const Field& field, uint8_t* record, uint32_t value) {
    if (field.kind == FieldKind::Text) return;
    uint8_t* p = record + field.offset;
    uint32_t whole = value;
    if (field.bits != 0) {
        const uint32_t mask = ((1u << field.bits) - 1) << field.shift;
        const uint32_t old = field.width == 1 ? p[0] : field.width == 2 ? Read16(p) : Read32(p);
        whole = (old & ~mask) | ((value << field.shift) & mask);
    }
    if (field.width == 1) {
        p[0] = static_cast<uint8_t>(whole);
    } else if (field.width == 2) {
        Write16(p, static_cast<uint16_t>(whole));
    } else {
        Write32(p, whole);
    }
}

int CountOf(Ref ref) {
    switch (ref) {
        case Ref::None: return 0;
        case Ref::Unit: return unit_record::kCount;
        case Ref::Pilot: return pilot_record::kCount;
        case Ref::Weapon: return weapon_record::kCount;
        case Ref::Skill: return skill_record::kCount;
        case Ref::Part: return part_record::kCount;
        case Ref::Spirit: return spirit_record::kCount;
        case Ref::AceBonus: return ace_record::kCount;
        case Ref::FullBonus: return full_record::kCount;
        case Ref::BgmSet: return bgm_table::kSetCount;
        case Ref::Personality: return personality_names::kCount;
        case Ref::WeaponType: return weapon_type_names::kCount;
        case Ref::SkillType: return skill_type_names::kCount;
        case Ref::TrustType: return trust_type_names::kCount;
        case Ref::FullEffect1:
        case Ref::FullEffect2: return full_record::kEffects;
    }
    return 0;
}

}  // namespace tsumugi::layout

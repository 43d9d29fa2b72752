// The ROM's name tables: where each table's first name lies, the record size, the length
// of the name field (terminator included) and the number of entries.
#include "core/name_list.h"

#include "core/layout/abilities.h"
#include "core/layout/bonuses.h"
#include "core/layout/pilots.h"
#include "core/layout/units.h"

namespace tsumugi {
namespace name_table {
namespace {

using namespace layout;

// The name field of each record, as an offset into the record.
constexpr Layout kUnit{unit_record::kBase + unit_record::kName, unit_record::kSize,
                       static_cast<int>(unit_record::kNameLength), unit_record::kCount};
constexpr Layout kFullBonus{full_record::kBase + full_record::kName, full_record::kSize,
                            static_cast<int>(full_record::kNameLength), full_record::kCount};
constexpr Layout kPilot{pilot_record::kBase + pilot_record::kName, pilot_record::kSize,
                        static_cast<int>(pilot_record::kNameLength), pilot_record::kCount};
constexpr Layout kBgm{bgm_table::kNames, bgm_table::kNameSize, static_cast<int>(bgm_table::kNameSize),
                      bgm_table::kNameCount};
constexpr Layout kWeapon{weapon_record::kBase + weapon_record::kName, weapon_record::kSize,
                         static_cast<int>(weapon_record::kNameLength), weapon_record::kCount};
constexpr Layout kAceBonus{ace_record::kBase + ace_record::kName, ace_record::kSize,
                           static_cast<int>(ace_record::kNameLength), ace_record::kCount};
constexpr Layout kSkill{skill_record::kBase + skill_record::kName, skill_record::kSize,
                        static_cast<int>(skill_record::kNameLength), skill_record::kCount};
constexpr Layout kPart{part_record::kBase + part_record::kName, part_record::kSize,
                       static_cast<int>(part_record::kNameLength), part_record::kCount};
constexpr Layout kSpirit{spirit_record::kBase + spirit_record::kName, spirit_record::kSize,
                         static_cast<int>(spirit_record::kNameLength), spirit_record::kCount};
constexpr Layout kChapter{chapter_title_record::kBase + chapter_title_record::kTitle,
                          chapter_title_record::kSize,
                          static_cast<int>(chapter_title_record::kTitleLength),
                          chapter_title_record::kCount};

}  // namespace

Layout LayoutOf(NameKind kind) {
    switch (kind) {
        case NameKind::Unit: return kUnit;
        case NameKind::Pilot: return kPilot;
        case NameKind::Weapon: return kWeapon;
        case NameKind::Skill: return kSkill;
        case NameKind::Part: return kPart;
        case NameKind::Spirit: return kSpirit;
        case NameKind::Bgm: return kBgm;
        case NameKind::AceBonus: return kAceBonus;
        case NameKind::FullBonus: return kFullBonus;
        case NameKind::Chapter: return kChapter;
    }
    return Layout{0, 0, 0, 0};
}

}  // namespace name_table

bool GetName(CTextCodec& codec, NameKind kind, int i, std::string& text) {
    switch (kind) {
        case NameKind::Unit: return codec.GetUnitName(i, text);
        case NameKind::Pilot: return codec.GetPilotName(i, text);
        case NameKind::Weapon: return codec.GetWeaponName(i, text);
        case NameKind::Skill: return codec.GetSkillName(i, text);
        case NameKind::Part: return codec.GetPartName(i, text);
        case NameKind::Spirit: return codec.GetSpiritName(i, text);
        case NameKind::Bgm: return codec.GetBgmName(i, text);
        case NameKind::AceBonus: return codec.GetAceBonusName(i, text);
        case NameKind::FullBonus: return codec.GetFullBonusName(i, text);
        case NameKind::Chapter: return codec.GetChapterName(i, text);
    }
    text = "Error";
    return false;
}

std::vector<std::string> NameList(CTextCodec& codec, NameKind kind) {
    const int count = NameCount(kind);
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(count));
    std::string text;
    for (int i = 0; i < count; ++i) {
        GetName(codec, kind, i, text);
        names.push_back(text);
    }
    return names;
}

int NameCount(NameKind kind) { return name_table::LayoutOf(kind).count; }

}  // namespace tsumugi

// The ROM's name tables: where each table's first name lies, the record size, the length
// of the name field (terminator included) and the number of entries.
#include "core/name_list.h"

namespace tsumugi {
namespace name_table {
namespace {

// The name field of each record, as an offset into the record.
constexpr Layout kUnit{0xC38C4 + 72, 104, 32, 150};
constexpr Layout kFullBonus{0xCA034 + 20, 52, 32, 50};
constexpr Layout kPilot{0xCD360 + 44, 92, 48, 176};
constexpr Layout kBgm{0xBFD84, 64, 64, 54};
constexpr Layout kWeapon{0xD7CA0 + 32, 64, 32, 740};
constexpr Layout kAceBonus{0xD6670 + 24, 88, 64, 60};
constexpr Layout kSkill{0xD13A0 + 14, 224, 16, 36};
constexpr Layout kPart{0xC75B4 + 24, 168, 16, 46};
constexpr Layout kSpirit{0xC1160 + 6, 100, 14, 33};
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

// The descriptors of the unit, weapon and pilot tables.
#include <array>
#include <string>
#include <vector>

#include "core/layout/descriptor.h"
#include "core/layout/field_builders.h"
#include "core/layout/pilots.h"
#include "core/layout/units.h"
#include "core/regions.h"

namespace tsumugi::layout::detail {
namespace {

// The unit's fields: the fixed ones, then the ability boxes and the slot combos.
std::vector<Field> UnitFields() {
    using namespace unit_record;
    std::vector<Field> f = {
        Number("最大HP", kMaxHp, 4), Number("最大EN", kMaxEn, 2), Number("運動性", kMobility, 2),
        Number("装甲", kArmor, 2), Number("修理費", kRepairCost, 2), Number("獲得資金", kFunds, 2),
        Number("経験値", kExperience, 2), Number("最大WP", kMaxWp, 2),
        Rank("空", kTerrain, 3), Rank("陸", kTerrain, 2), Rank("海", kTerrain, 1),
        Rank("宇", kTerrain, 0), Number("移動力", kMove, 1),
        Choice("強化パーツスロット数", kPartSlots, kPartSlotMax),
        // The move-type boxes share their texts with the terrain combos: qualified by group.
        Flag("移動タイプ 地", kMoveTypes, 0), Flag("移動タイプ 海", kMoveTypes, 1),
        Flag("移動タイプ 陸", kMoveTypes, 2), Flag("移動タイプ 空", kMoveTypes, 3), Number("獲得PP", kPp, 1),
        Choice("改造可能段階HP", kUpgradeHp, kUpgradeMax),
        Choice("改造可能段階EN", kUpgradeEn, kUpgradeMax),
        Choice("改造可能段階運動性", kUpgradeMobility, kUpgradeMax),
        Choice("改造可能段階装甲", kUpgradeArmor, kUpgradeMax),
        Refer("フル改造ボーナス", kFullBonus, 1, Ref::FullBonus, 0xFF),
    };
    for (int g = 0; g < kAbilityBytes; ++g) {
        for (int b = 0; b < 8 && kAbilityGroups[g].labels[b] != nullptr; ++b) {
            f.push_back(Flag(kAbilityGroups[g].labels[b], kAbilities + static_cast<uint32_t>(g), b));
        }
    }
    f.push_back(Number("乗り換え制限", kTransfer, 1));
    f.push_back(Number("変形機体共有ID", kShareId, 1));
    f.push_back(Choice("サイズ", kUnitSize, kSizeItems));
    f.push_back(Refer("BGM", kBgmSet, 1, Ref::BgmSet, -1));
    static const char* const kPilotLabels[kPilotSlots] = {"専属パイロット1", "専属パイロット2",
                                                          "専属パイロット3", "専属パイロット4"};
    for (int k = 0; k < kPilotSlots; ++k) {
        f.push_back(Refer(kPilotLabels[k], kPilots + static_cast<uint32_t>(k), 1, Ref::Pilot, 0xFF));
    }
    static const char* const kWeaponLabels[kWeaponSlots] = {
        "武器1", "武器2", "武器3", "武器4", "武器5", "武器6",
        "武器7", "武器8", "武器9", "武器10", "武器11", "武器12"};
    for (int k = 0; k < kWeaponSlots; ++k) {
        f.push_back(Refer(kWeaponLabels[k], kWeapons + 2 * static_cast<uint32_t>(k), 2, Ref::Weapon, 0xFFFF));
    }
    f.push_back(Text("機体名", kName, kNameLength));
    return f;
}

constexpr Field kWeaponFields[] = {
    Number("攻撃力", weapon_record::kAttack, 2), Number("命中＋", weapon_record::kHit, 2),
    Number("クリティカル＋", weapon_record::kCritical, 2), Number("弾数", weapon_record::kAmmo, 2),
    Number("消費EN", weapon_record::kEn, 2), Number("必要気力", weapon_record::kMorale, 2),
    Number("使用WP", weapon_record::kWp, 1), Number("射程", weapon_record::kMinRange, 1),
    Number("最大射程", weapon_record::kMaxRange, 1),
    Refer("必要技能", weapon_record::kSkill, 1, Ref::Skill, 0xFF),
    Number("LV", weapon_record::kSkillLevel, 1),
    Rank("空", weapon_record::kTerrain, 3), Rank("陸", weapon_record::kTerrain, 2),
    Rank("海", weapon_record::kTerrain, 1), Rank("宇", weapon_record::kTerrain, 0),
    Text("名前", weapon_record::kName, weapon_record::kNameLength),
    Choice("武器タイプ１", weapon_record::kType1, weapon_record::kType1Items),
    Refer("武器タイプ２", weapon_record::kType2, 1, Ref::WeaponType, -1),
    Choice("改造費用タイプ", weapon_record::kCostType, weapon_record::kGrowthItems),
    Choice("攻撃力上昇タイプ", weapon_record::kGrowthType, weapon_record::kGrowthItems),
    Choice("選択", weapon_record::kSelection, weapon_record::kSelectionItems),
    Flag("C武器", weapon_record::kFlags, 0), Flag("格闘", weapon_record::kFlags, 1),
    Flag("ミサイル", weapon_record::kFlags, 2), Flag("ビーム", weapon_record::kFlags, 3),
    Flag("必須", weapon_record::kFlags, 4), Flag("射撃", weapon_record::kFlags, 5),
    Flag("?", weapon_record::kFlags, 6), Flag("P武器", weapon_record::kFlags, 7),
    Choice("方向", weapon_record::kDirection, weapon_record::kDirectionItems,
           weapon_record::kDirectionNone),
    Number("形", weapon_record::kShape, 1), Number("エフェクト", weapon_record::kEffect, 1),
    Number("味方識別", weapon_record::kFriendId, 1, 1),
};

constexpr Field kPilotFields[] = {
    Text("パイロット名", pilot_record::kName, pilot_record::kNameLength),
    Text("愛称", pilot_record::kNickname, pilot_record::kNicknameLength),
    Choice("成長率", pilot_record::kGrowth, pilot_record::kGrowthItems),
    {.label = "性格", .offset = pilot_record::kSexPersonality, .width = 1, .kind = FieldKind::Reference,
     .shift = 4, .bits = 4, .refers = Ref::Personality},
    Flag("女", pilot_record::kSexPersonality, 0),
    Refer("エースボーナス", pilot_record::kAceBonus, 2, Ref::AceBonus, -1),
    Refer("BGM", pilot_record::kBgmSet, 1, Ref::BgmSet, -1),
    Number("SP", pilot_record::kSp, 2), Number("格闘", pilot_record::kMelee, 2),
    Number("射撃", pilot_record::kShooting, 2), Number("回避", pilot_record::kEvasion, 2),
    Number("命中", pilot_record::kAccuracy, 2), Number("防御", pilot_record::kDefence, 2),
    Number("技量", pilot_record::kSkill, 2), Number("経験値", pilot_record::kExperience, 2),
    Number("乗り換え", pilot_record::kBoarding, 1),
    Rank("空", pilot_record::kTerrain, 3), Rank("陸", pilot_record::kTerrain, 2),
    Rank("海", pilot_record::kTerrain, 1), Rank("宇", pilot_record::kTerrain, 0),
};

std::vector<Field> PilotSpiritFields() {
    using namespace pilot_spirit_record;
    static const char* const kSpirit[kSlots] = {"精神コマンド1", "精神コマンド2", "精神コマンド3",
                                                "精神コマンド4", "精神コマンド5", "精神コマンド6"};
    static const char* const kLevel[kSlots] = {"LV1", "LV2", "LV3", "LV4", "LV5", "LV6"};
    static const char* const kCost[kSlots] = {"SP1", "SP2", "SP3", "SP4", "SP5", "SP6"};
    std::vector<Field> f;
    for (int s = 0; s < kSlots; ++s) {
        const auto slot = static_cast<uint32_t>(s);
        f.push_back(Refer(kSpirit[s], kSpirits + slot, 1, Ref::Spirit, 0xFF));
        f.push_back(Number(kLevel[s], kLevels + slot, 1));
        f.push_back(Number(kCost[s], kCosts + slot, 1));
    }
    return f;
}

std::vector<Field> PilotSkillFields() {
    using namespace pilot_skill_record;
    static const char* const kSkillLabels[kSlots] = {"技能1", "技能2", "技能3", "技能4", "技能5", "技能6"};
    // "習得LV" of slot s, level l: "技能1 習得LV1" and so on.
    static const std::vector<std::string> levelLabels = [] {
        std::vector<std::string> labels;
        for (int s = 0; s < kSlots; ++s) {
            for (int l = 0; l < kLevelCount; ++l) {
                labels.push_back(std::string(kSkillLabels[s]) + " 習得LV" + std::to_string(l + 1));
            }
        }
        return labels;
    }();
    std::vector<Field> f;
    for (int s = 0; s < kSlots; ++s) {
        const uint32_t slot = kSlotSize * static_cast<uint32_t>(s);
        f.push_back(Refer(kSkillLabels[s], slot + kSkill, 1, Ref::Skill, 0xFF));
        for (int l = 0; l < kLevelCount; ++l) {
            f.push_back(Number(levelLabels[static_cast<size_t>(s * kLevelCount + l)].c_str(),
                               slot + kLevels + static_cast<uint32_t>(l), 1));
        }
    }
    return f;
}

}  // namespace

std::span<const Table> UnitTables() {
    namespace c = category;
    static const std::vector<Field> unit = UnitFields();
    static const std::vector<Field> spirit = PilotSpiritFields();
    static const std::vector<Field> skill = PilotSkillFields();
    static const std::array<Table, 5> tables = {{
        {"units", "ユニット", c::kUnit, unit_record::kBase, unit_record::kSize, unit_record::kCount, unit},
        {"pilots", "パイロットステータス", c::kPilotStatus, pilot_record::kBase, pilot_record::kSize,
         pilot_record::kCount, kPilotFields},
        {"pilot-spirits", "パイロット精神", c::kPilotSpirit, pilot_spirit_record::kBase,
         pilot_spirit_record::kSize, pilot_spirit_record::kCount, spirit},
        {"pilot-skills", "パイロット技能", c::kPilotSkill, pilot_skill_record::kBase,
         pilot_skill_record::kSize, pilot_skill_record::kCount, skill},
        {"weapons", "武器", c::kWeapon, weapon_record::kBase, weapon_record::kSize, weapon_record::kCount,
         kWeaponFields},
    }};
    return tables;
}

}  // namespace tsumugi::layout::detail

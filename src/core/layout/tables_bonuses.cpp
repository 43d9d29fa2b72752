// The descriptors of the ace bonus, full-upgrade bonus and trust bonus tables.
#include <array>
#include <string>
#include <vector>

#include "core/layout/bonuses.h"
#include "core/layout/descriptor.h"
#include "core/layout/field_builders.h"
#include "core/regions.h"

namespace tsumugi::layout::detail {
namespace {

constexpr uint8_t kNone8 = 0xFF;
constexpr uint16_t kNone16 = 0xFFFF;

std::vector<Field> AceFields() {
    using namespace ace_record;
    static const char* const kPercentLabels[kPercentFields] = {
        "格闘+%",   "射撃+%",       "反撃+%", "念動+%",
        "援攻+%",   "被ダメージ-%", "援防+%", "間接攻撃の被ダメージ-%",
        "命中+%",   "最終命中+%",   "回避+%", "最終回避+%",
        "CT補正+%", "EXP+%",        "資金+%"};
    std::vector<Field> f;
    for (int k = 0; k < kPercentFields; ++k) {
        f.push_back(Number(kPercentLabels[k], static_cast<uint32_t>(k), 1));
    }
    f.push_back(Number("SP+", kSpBonus, 1));
    // A value one past the last record (33, 36) also shows "無し(0xFF)" and is stored as 0xFF.
    f.push_back(Refer("補正精神コマンド", kSpirit, 1, Ref::Spirit, kNone8));
    f.push_back(Number("消費SP", kSpiritCost, 1));
    f.push_back(Refer("補正特殊技能", kSkill, 1, Ref::Skill, kNone8));
    f.push_back(Number("補正+%", kSkillBoost, 1));
    f.push_back(Number("移動力+", kMovement, 1));
    f.push_back(Text("名前", kName, kNameLength));
    return f;
}

std::vector<Field> FullFields() {
    using namespace full_record;
    return {
        Number("HP+%", kHp, 1), Number("EN+%", kEn, 1), Number("運動性+%", kMobility, 1),
        Number("装甲+%", kArmour, 1), Number("WP+", kWp, 1), Number("強化パーツ装備数+", kSlots, 1),
        ByteFlag("機体地形適応空以外S", kTerrainS),
        // Item 9 of either list also shows "無し(0xFF)" and is stored as 0xFF.
        Refer("特殊１", kEffect1, 1, Ref::FullEffect1, kNone8),
        Refer("特殊２", kEffect2, 1, Ref::FullEffect2, kNone8),
        Number("特殊4", kEffectValue, 1),
        Number("格闘", kMelee, 1), Number("射撃", kShooting, 1), Number("念動", kPsychic, 1),
        Number("全て", kAllWeapons, 1), Number("固定武器弾数+", kAmmo, 1), Number("命中+%", kHit, 1),
        ByteFlag("固定武器地形適応S", kWeaponTerrainS),
        Text("名前", kName, kNameLength),
    };
}

std::vector<Field> TrustFields() {
    using namespace trust_record;
    static const char* const kPageNames[kPageCount] = {"その１", "その２", "その３", "その４"};
    static const char* const kPartnerNames[kPartners] = {"一人目", "二人目", "三人目", "四人目"};
    // The pilot combo has no "none" item; with no selection it stores 0xFFFF.
    std::vector<Field> f = {Refer("パイロット", kPilot, 2, Ref::Pilot, -1)};
    for (int p = 0; p < kPageCount; ++p) {
        const uint32_t page = kPages + kPageSize * static_cast<uint32_t>(p);
        const std::string prefix = std::string(kPageNames[p]) + " ";
        // A type of 4 also shows "無し(0xFFFF)", and so does an effect of 0 (the effect's
        // item 0 is "無し(0xFFFF)", items 1-3 the values 1-3); both are stored as 0xFFFF.
        f.push_back(
            Refer(KeepLabel(prefix + "補正タイプ"), page + kType, 2, Ref::TrustType, kNone16));
        f.push_back(Choice(KeepLabel(prefix + "効果"), page + kEffect, kEffectItems, kNone16, 2));
        for (int k = 0; k < kPartners; ++k) {
            // Pilot 176 also shows "無し(0xFFFF)" and is stored as 0xFFFF.
            f.push_back(Refer(KeepLabel(prefix + kPartnerNames[k]),
                              page + kPartner + 2 * static_cast<uint32_t>(k), 2, Ref::Pilot,
                              kNone16));
        }
    }
    return f;
}

}  // namespace

std::span<const Table> BonusTables() {
    namespace c = category;
    static const std::vector<Field> ace = AceFields();
    static const std::vector<Field> full = FullFields();
    static const std::vector<Field> trust = TrustFields();
    static const std::array<Table, 3> tables = {{
        {"ace-bonuses", "エースボーナス", c::kAceBonus, ace_record::kBase, ace_record::kSize,
         ace_record::kCount, ace},
        {"full-bonuses", "フル改造ボーナス", c::kFullBonus, full_record::kBase, full_record::kSize,
         full_record::kCount, full},
        {"trusts", "信頼補正", c::kTrust, trust_record::kBase, trust_record::kSize,
         trust_record::kCount, trust},
    }};
    return tables;
}

}  // namespace tsumugi::layout::detail

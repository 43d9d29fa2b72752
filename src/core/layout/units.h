#pragma once
// The unit and weapon tables and the weapon-type names they show. Numbers are little-endian.
#include <array>
#include <cstdint>

namespace tsumugi::layout {

// 150 records of 104 bytes. Bytes 29-31, 37, 39 and 42 belong to no control and are never
// written.
namespace unit_record {
constexpr uint32_t kBase = 0xC38C4, kSize = 104;
constexpr int kCount = 150;

// Page "基本"
constexpr uint32_t kMaxHp = 0;  // 32 bits
constexpr uint32_t kMaxEn = 4, kMobility = 6, kArmor = 8, kRepairCost = 10, kFunds = 12,
                   kExperience = 14, kMaxWp = 16;  // 16 bits each
constexpr uint32_t kTerrain = 18;                  // four 4-bit ranks
constexpr uint32_t kMove = 20, kPartSlots = 21;
constexpr uint32_t kMoveTypes = 22;  // bits 0-3: 地, 海, 陸, 空; bits 4-7 written as 0
constexpr uint32_t kPp = 23;
constexpr uint32_t kUpgradeHp = 24, kUpgradeEn = 25, kUpgradeMobility = 26, kUpgradeArmor = 27;
constexpr uint32_t kFullBonus = 28;  // full-upgrade bonus record, 0xFF none

// Page "特殊技能": five bytes of ability flags
constexpr uint32_t kAbilities = 32;
constexpr int kAbilityBytes = 5;
// The ability groups, byte k of the five, and their boxes, bit 0 first (UTF-8).
struct AbilityGroup {
    const char* title;
    const char* labels[8];  // null past the group's last box
};
inline constexpr AbilityGroup kAbilityGroups[kAbilityBytes] = {
    {"特殊能力１",
     {"ビームコート", "ABフィールド", "Eフィールド", "Gウォール", "Gテリトリー", "念動フィールド",
      "念動フィールドS", "歪曲フィールド"}},
    {"特殊能力2", {"エネルギー吸収"}},
    {"特殊能力3",
     {"HP回復（大）", "HP回復（中）", "HP回復（小）", "EN回復（大）", "EN回復（中）", "EN回復（小）",
      "分身", "精霊憑依"}},
    {"特殊能力4", {"ジャマー"}},
    {"特殊能力5",
     {"特殊武器無効", "EN系無効", "気力系無効", "SP系無効", "精神系無効", "ネット系無効",
      "チャフ系無効", "ブレイカー系無効"}},
};

// Page "機体"
constexpr uint32_t kTransfer = 38, kShareId = 40, kUnitSize = 41, kBgmSet = 43;
constexpr uint32_t kPilots = 44;  // four pilot records, 0xFF none
constexpr int kPilotSlots = 4;
constexpr uint32_t kName = 72, kNameLength = 32;

// Page "武器": twelve 16-bit weapon records, 0xFFFF none
constexpr uint32_t kWeapons = 48;
constexpr int kWeaponSlots = 12;

constexpr int kPartSlotMax = 4, kUpgradeMax = 10, kSizeCount = 5;
inline constexpr std::array<const char*, kSizeCount> kSizeItems = {"SS", "S", "M", "L", "LL"};
}  // namespace unit_record

// 740 records of 64 bytes. Bytes 10 and 13 are never written; byte 31 is written as 0 with
// the flags.
namespace weapon_record {
constexpr uint32_t kBase = 0xD7CA0, kSize = 64;
constexpr int kCount = 740;

constexpr uint32_t kType1 = 0, kType2 = 1, kSelection = 2, kWp = 3, kMinRange = 4, kMaxRange = 5,
                   kCostType = 6, kGrowthType = 7, kDirection = 8, kShape = 9, kEffect = 11,
                   kFriendId = 12, kSkill = 14, kSkillLevel = 15;  // one byte each
constexpr uint32_t kAttack = 16, kHit = 18, kCritical = 20, kAmmo = 22, kEn = 24,
                   kMorale = 26;         // 16 bits each
constexpr uint32_t kTerrain = 28;        // four 4-bit ranks
constexpr uint32_t kFlags = 30;          // eight flag bits; byte 31 cleared with them
constexpr uint32_t kName = 32, kNameLength = 32;

constexpr int kType1Count = 3, kSelectionCount = 3, kGrowthCount = 5, kDirectionCount = 4;
constexpr uint8_t kDirectionNone = 0xFF;  // "無効(0xFF)"
inline constexpr std::array<const char*, kType1Count> kType1Items = {"射撃", "格闘", "特殊"};
inline constexpr std::array<const char*, kSelectionCount> kSelectionItems = {"固定武器", "選択武器", "合体武器"};
// The items of "改造費用タイプ" and "攻撃力上昇タイプ"
inline constexpr std::array<const char*, kGrowthCount> kGrowthItems = {"A", "B", "C", "D", "E"};
inline constexpr std::array<const char*, kDirectionCount> kDirectionItems = {"自分中心", "方向選択",
                                                                             "展開位置選択", "方向固定"};
}  // namespace weapon_record

// The names of weapon type 2: game texts one after another, each ended by 0xFF or 0x00 and
// at most 63 bytes long; the next name starts at the first even offset after the
// terminator. Read only.
namespace weapon_type_names {
constexpr uint32_t kBase = 0x9AE42;
constexpr int kCount = 28;
constexpr int kMaxField = 64;  // a name with its terminator
}  // namespace weapon_type_names

}  // namespace tsumugi::layout

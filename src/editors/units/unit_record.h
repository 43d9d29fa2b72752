#pragma once
// The unit table: 150 records of 104 bytes from 0xC38C4, numbers little-endian.
// Bytes 29-31, 37, 39 and 42 belong to no control and are never written.
#include <cstdint>

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

// Page "機体"
constexpr uint32_t kTransfer = 38, kShareId = 40, kUnitSize = 41, kBgmSet = 43;
constexpr uint32_t kPilots = 44;  // four pilot records, 0xFF none
constexpr int kPilotSlots = 4;
constexpr uint32_t kName = 72, kNameLength = 32;

// Page "武器": twelve 16-bit weapon records, 0xFFFF none
constexpr uint32_t kWeapons = 48;
constexpr int kWeaponSlots = 12;

constexpr int kPartSlotMax = 4, kUpgradeMax = 10, kSizeCount = 5;
}  // namespace unit_record

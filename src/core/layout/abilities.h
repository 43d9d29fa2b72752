#pragma once
// Spirit commands, special skills, enhancement parts and their classification lists, with
// the skill-type names. Numbers are little-endian.
#include <array>
#include <cstdint>

namespace tsumugi::layout {

// 33 records of 100 bytes.
namespace spirit_record {
constexpr uint32_t kBase = 0xC1160, kSize = 100;
constexpr int kCount = 33;
constexpr uint32_t kDuration = 0, kTarget = 1, kOnOthers = 2, kSpCost = 3, kInitial = 4,
                   kInitialLength = 2, kName = 6, kNameLength = 14, kDescription = 20,
                   kDescriptionLength = 80;
constexpr int kDurationCount = 7, kTargetCount = 4;  // the items of "持続タイプ" and "対象"
inline constexpr std::array<const char*, kDurationCount> kDurationItems = {
    "無し",           "攻撃したら消える", "攻撃されたら消える",   "戦闘したら消える",
    "移動したら消える", "待機したら消える", "１ターンしたら消える",
};
inline constexpr std::array<const char*, kTargetCount> kTargetItems = {"自分", "味方選択", "隣接全員", "敵選択"};
}  // namespace spirit_record

// 36 records of 224 bytes. Bytes 3, 222 and 223 are never written.
namespace skill_record {
constexpr uint32_t kBase = 0xD13A0, kSize = 224;
constexpr int kCount = 36;
constexpr uint32_t kAcquirable = 0, kHasLevels = 1, kType = 2, kPpCosts = 4, kMaxLevel = 13,
                   kName = 14, kNameLength = 16, kPages = 30, kPageLength = 64;
constexpr int kLevels = 9, kPageCount = 3;
}  // namespace skill_record

// Five classes of 32 bytes: a signed 32-bit count (0-12), 4 bytes that are never written,
// then 12 slots of 16-bit skill numbers; slots from the count on hold 0.
namespace skill_class_record {
constexpr uint32_t kBase = 0xD5C60, kSize = 32;
constexpr int kCount = 5;
constexpr uint32_t kEntryCount = 0, kEntryCountWidth = 4, kUnshown = 4, kUnshownLength = 4,
                   kEntries = 8, kEntryWidth = 2;
constexpr bool kEntryCountSigned = true;
constexpr int kMaxEntries = 12;
static_assert(kEntries + kEntryWidth * kMaxEntries == kSize);
}  // namespace skill_class_record

// The skill-type names: 8-byte fields of game text. Read only.
namespace skill_type_names {
constexpr uint32_t kBase = 0x9AF78, kEntrySize = 8;
constexpr int kCount = 5;
}  // namespace skill_type_names

// 46 records of 168 bytes. Byte 1 is never written.
namespace part_record {
constexpr uint32_t kBase = 0xC75B4, kSize = 168;
constexpr int kCount = 46;
constexpr uint32_t kType = 0, kUnshown = 1, kMovement = 2, kEn = 3, kMobility = 4, kHit = 5,
                   kCritical = 6, kRange = 7, kTerrain = 8, kAbilities3 = 10, kJammer = 11,
                   kAbilities1 = 12, kEnergyAbsorb = 13, kMorale = 14, kRecovery = 15,
                   kSpRecovery = 16, kHp = 18, kArmour = 20, kPrice = 22, kName = 24,
                   kNameLength = 16, kDescription1 = 40, kDescription2 = 104,
                   kDescriptionLength = 64;
constexpr int kTypeCount = 4;
inline constexpr std::array<const char*, kTypeCount> kTypeItems = {"通常", "気力＋", "特殊能力＋", "消費"};
}  // namespace part_record

// Four classes of 64 bytes: an unsigned 32-bit count (0-28), 4 bytes that are never
// written, then 28 slots of 16-bit part numbers; slots from the count on hold 0.
namespace part_class_record {
constexpr uint32_t kBase = 0xC93E4, kSize = 64;
constexpr int kCount = 4;
constexpr uint32_t kEntryCount = 0, kEntryCountWidth = 4, kUnshown = 4, kUnshownLength = 4,
                   kEntries = 8, kEntryWidth = 2;
constexpr bool kEntryCountSigned = false;
constexpr int kMaxEntries = 28;
static_assert(kEntries + kEntryWidth * kMaxEntries == kSize);
}  // namespace part_class_record

}  // namespace tsumugi::layout

#pragma once
// The pilot status table: 176 records of 92 bytes from 0xCD360, numbers little-endian.
// Bytes 23 and 25-27 belong to no control and are never written.
#include <cstdint>

namespace pilot_record {
constexpr uint32_t kBase = 0xCD360, kSize = 92;
constexpr int kCount = 176;

constexpr uint32_t kGrowth = 0;
constexpr uint32_t kSexPersonality = 1;  // bit 0 female, bits 4-7 personality, 1-3 written 0
constexpr uint32_t kAceBonus = 2;        // 16 bits
constexpr uint32_t kSp = 4, kMelee = 6, kShooting = 8, kEvasion = 10, kAccuracy = 12,
                   kDefence = 14, kSkill = 16, kExperience = 18;  // 16 bits each
constexpr uint32_t kTerrain = 20;                                 // four 4-bit ranks
constexpr uint32_t kBoarding = 22;
constexpr uint32_t kBgmSet = 24;
constexpr uint32_t kNickname = 28, kNicknameLength = 16;
constexpr uint32_t kName = 44, kNameLength = 48;

constexpr int kGrowthCount = 15;
}  // namespace pilot_record

// The personality names: 16 slots of 16 bytes from 0xD12A8, the first 8 bytes of each
// slot game text. Read only.
namespace personality_names {
constexpr uint32_t kBase = 0xD12A8, kSlotSize = 16;
constexpr int kCount = 16, kLength = 8;
}  // namespace personality_names

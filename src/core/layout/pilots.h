#pragma once
// The pilot tables (status, spirit commands, skills) and the read-only tables the pilot and
// unit editors show: personality names, BGM names and BGM sets. Numbers are little-endian.
#include <array>
#include <cstdint>

namespace tsumugi::layout {

// 176 records of 92 bytes. Bytes 23 and 25-27 belong to no control and are never written.
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
inline constexpr std::array<const char*, kGrowthCount> kGrowthItems = {
    "標準型",       "格闘系・標準", "格闘系・万能", "格闘系・防御", "格闘系・射撃",
    "格闘系・晩成", "射撃系・標準", "射撃系・万能", "射撃系・格闘", "射撃系・防御",
    "射撃系・晩成", "射撃系・限界", "万能系・標準", "万能系・晩成", "ＳＰ重視",
};
}  // namespace pilot_record

// 176 records of 24 bytes, record i for pilot i: six spirit commands (0xFF none), their
// learning levels and SP costs. Bytes 6-7, 14-15 and 22-23 are never written.
namespace pilot_spirit_record {
constexpr uint32_t kBase = 0xC1E44, kSize = 24;
constexpr int kCount = 176;
constexpr uint32_t kSpirits = 0, kLevels = 8, kCosts = 16;
constexpr int kSlots = 6;
}  // namespace pilot_spirit_record

// 176 records of 60 bytes, record i for pilot i: six slots of 10 bytes, each a special
// skill (0xFF none) and the nine levels at which its levels are learnt.
namespace pilot_skill_record {
constexpr uint32_t kBase = 0xD3320, kSize = 60, kSlotSize = 10;
constexpr int kCount = 176;
constexpr uint32_t kSkill = 0, kLevels = 1;  // within a slot
constexpr int kSlots = 6, kLevelCount = 9;
}  // namespace pilot_skill_record

// The personality names: 16 slots of 16 bytes, the first 8 bytes of each slot game text.
namespace personality_names {
constexpr uint32_t kBase = 0xD12A8, kSlotSize = 16;
constexpr int kCount = 16, kLength = 8;
}  // namespace personality_names

// BGM names (54 fields of 64 bytes) and the 64 BGM sets of 12 bytes, each naming up to
// five tracks by BGM number (0 = no track; bytes 10-11 are not read).
namespace bgm_table {
constexpr uint32_t kNames = 0xBFD84, kNameSize = 64;
constexpr int kNameCount = 54;
constexpr uint32_t kSets = 0xC0CE0, kSetSize = 12;
constexpr int kSetCount = 64, kTracks = 5;
}  // namespace bgm_table

}  // namespace tsumugi::layout

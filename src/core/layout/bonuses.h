#pragma once
// Ace bonuses, full-upgrade bonuses and trust bonuses, with the read-only texts that label
// their choices. Numbers are little-endian.
#include <array>
#include <cstdint>

namespace tsumugi::layout {

// 60 records of 88 bytes. Bytes 21-23 are never written.
namespace ace_record {
constexpr uint32_t kBase = 0xD6670, kSize = 88;
constexpr int kCount = 60;
// Percentage boosts, one byte each.
constexpr uint32_t kMelee = 0, kShooting = 1, kCounter = 2, kPsychic = 3, kSupportAttack = 4,
                   kDamageTaken = 5, kSupportDefence = 6, kIndirectDamageTaken = 7, kAccuracy = 8,
                   kFinalHit = 9, kEvasion = 10, kFinalEvasion = 11, kCritical = 12,
                   kExperience = 13, kMoney = 14;
constexpr uint32_t kSpBonus = 15, kSpirit = 16, kSpiritCost = 17, kSkill = 18, kSkillBoost = 19,
                   kMovement = 20, kName = 24, kNameLength = 64;
constexpr int kPercentFields = 15;  // offsets 0-14
}  // namespace ace_record

// 50 records of 52 bytes. Bytes 7, 10 and 19 are never written.
namespace full_record {
constexpr uint32_t kBase = 0xCA034, kSize = 52;
constexpr int kCount = 50;
constexpr uint32_t kHp = 0, kEn = 1, kMobility = 2, kArmour = 3, kWp = 4, kSlots = 5, kTerrainS = 6,
                   kEffect1 = 8, kEffect2 = 9, kEffectValue = 11, kMelee = 12, kShooting = 13,
                   kPsychic = 14, kAllWeapons = 15, kAmmo = 16, kHit = 17, kWeaponTerrainS = 18,
                   kName = 20, kNameLength = 32;
constexpr int kKinds = 10, kEffects = 9;
}  // namespace full_record

// The texts the full-upgrade bonus editor builds its effect lists from: each at a fixed
// address, with the room up to the next one. Read only.
namespace full_effect_texts {
struct Text {
    uint32_t at;
    uint32_t room;
};
constexpr std::array<Text, 26> kTexts = {{
    {0x9ACE6, 8},  {0x9ACEE, 10}, {0x9ACF8, 8},  {0x9AD00, 8},  {0x9AD08, 10}, {0x9AD12, 10},
    {0x9AD1C, 12}, {0x9AD28, 10}, {0x9AD32, 10}, {0x9AD3C, 16}, {0x9AD4C, 16}, {0x9AD5C, 16},
    {0x9AD6C, 16}, {0x9AD7C, 16}, {0x9AD8C, 16}, {0x9AD9C, 6},  {0x9ADA2, 10}, {0x9ADAC, 8},
    {0x9ADB4, 14}, {0x9ADC2, 12}, {0x9ADCE, 12}, {0x9ADDA, 12}, {0x9ADE6, 12}, {0x9ADF2, 10},
    {0x9ADFC, 10}, {0x9AE06, 60},
}};
constexpr int kFirstEffect1Text = 9;  // kTexts[9 + k] is item k of the first effect list
// Item k of the second effect list joins kTexts[k] and kTexts[18 + k] with "、"; its last
// item (kEffect2Alone) is kTexts[kEffect2Alone] alone.
constexpr int kFirstEffect2Tail = 18, kEffect2Alone = 8;
}  // namespace full_effect_texts

// 44 records of 52 bytes: the pilot (16 bits), two unused bytes, then four pages of 12
// bytes, each a correction type, an effect and four partners (16 bits each).
namespace trust_record {
constexpr uint32_t kBase = 0xD5D00, kSize = 52;
constexpr int kCount = 44;
constexpr uint32_t kPilot = 0, kPages = 4, kPageSize = 12;
constexpr int kPageCount = 4, kPartners = 4;
constexpr uint32_t kType = 0, kEffect = 2, kPartner = 4;  // within a page
constexpr int kEffectMax = 3;  // effects 1 "小", 2 "中", 3 "大"
// Effect 0 is none; the editor shows it as "無し(0xFFFF)" and stores 0xFFFF.
inline constexpr std::array<const char*, kEffectMax + 1> kEffectItems = {"無し", "小", "中", "大"};
}  // namespace trust_record

// The trust correction-type names: 8-byte fields of game text. Read only.
namespace trust_type_names {
constexpr uint32_t kBase = 0x9A64C, kEntrySize = 8;
constexpr int kCount = 4;
}  // namespace trust_type_names

}  // namespace tsumugi::layout

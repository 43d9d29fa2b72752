// Demo records of the units, weapons and pilots, with the tables they refer to: BGM names
// and sets, personality names and weapon-type names.
#include "demo/data.h"
#include "demo/rom.h"
#include "core/layout/abilities.h"
#include "core/layout/bonuses.h"
#include "core/layout/pilots.h"
#include "core/layout/units.h"

namespace tsumugi::demo::detail {
namespace {

using namespace tsumugi::layout;

constexpr int kSpiritCount = spirit_record::kCount, kSkillCount = skill_record::kCount,
              kAceBonusCount = ace_record::kCount, kFullBonusCount = full_record::kCount;

// Four 4-bit terrain ranks (0 S ... 4 D), air in the top nibble.
uint16_t Terrain(int air, int land, int sea, int space) {
    return static_cast<uint16_t>((air % 5) << 12 | (land % 5) << 8 | (sea % 5) << 4 | space % 5);
}

void WriteUnits(RomWriter& rom) {
    using namespace unit_record;
    int weapon = 0;
    for (int i = 0; i < kCount; ++i) {
        const uint32_t r = kBase + kSize * static_cast<uint32_t>(i);
        const bool flies = i % 3 == 0;
        rom.Fill(r, kSize, 0x00);
        rom.Put32(r + kMaxHp, 3000 + static_cast<uint32_t>(i % 25) * 400);
        rom.Put16(r + kMaxEn, static_cast<uint16_t>(150 + i % 10 * 10));
        rom.Put16(r + kMobility, static_cast<uint16_t>(60 + i % 7 * 10));
        rom.Put16(r + kArmor, static_cast<uint16_t>(800 + i % 9 * 100));
        rom.Put16(r + kRepairCost, static_cast<uint16_t>(2000 + i * 50));
        rom.Put16(r + kFunds, static_cast<uint16_t>(1000 + i % 20 * 250));
        rom.Put16(r + kExperience, static_cast<uint16_t>(50 + i % 12 * 10));
        rom.Put16(r + kMaxWp, static_cast<uint16_t>(20 + i % 5 * 5));
        rom.Put16(r + kTerrain, Terrain(flies ? 1 : 3, 1 + i % 2, 2 + i % 3, 1 + i % 2));
        rom.Put8(r + kMove, static_cast<uint8_t>(5 + i % 3));
        rom.Put8(r + kPartSlots, static_cast<uint8_t>(1 + i % 4));
        rom.Put8(r + kMoveTypes,
                 static_cast<uint8_t>(0x05 | (flies ? 0x08 : 0) | (i % 4 == 1 ? 0x02 : 0)));
        rom.Put8(r + kPp, static_cast<uint8_t>(10 + i % 10));
        for (uint32_t k = 0; k < 4; ++k) {
            rom.Put8(r + kUpgradeHp + k, static_cast<uint8_t>(i % 6 == 5 ? 5 : 10));
        }
        rom.Put8(r + kFullBonus, i % 7 == 6 ? kNone8 : static_cast<uint8_t>(i % kFullBonusCount));
        rom.Put8(r + kAbilities + 0, static_cast<uint8_t>(i % 5 == 0 ? 1u << (i / 5 % 8) : 0));
        rom.Put8(r + kAbilities + 1, static_cast<uint8_t>(i % 11 == 0 ? 1 : 0));
        rom.Put8(r + kAbilities + 2, static_cast<uint8_t>(i % 4 == 0 ? 1u << (i / 4 % 8) : 0));
        rom.Put8(r + kAbilities + 3, static_cast<uint8_t>(i % 13 == 0 ? 1 : 0));
        rom.Put8(r + kAbilities + 4, static_cast<uint8_t>(i % 17 == 0 ? 0x03 : 0));
        rom.Put8(r + kTransfer, static_cast<uint8_t>(i % 8 == 0 ? i / 8 : 0));
        rom.Put8(r + kShareId, static_cast<uint8_t>(i % 10 == 9 ? i / 10 + 1 : 0));
        rom.Put8(r + kUnitSize, static_cast<uint8_t>(i % 5 == 4 ? 1 : 2 + i % 3));
        rom.Put8(r + kBgmSet, static_cast<uint8_t>(1 + i % (bgm_table::kSetCount - 1)));
        for (int k = 0; k < kPilotSlots; ++k) {
            const bool used = k == 0 ? i % 3 != 2 : k == 1 && i % 9 == 0;
            rom.Put8(r + kPilots + static_cast<uint32_t>(k),
                     used ? static_cast<uint8_t>((i + k * 37) % pilot_record::kCount) : kNone8);
        }
        const int weapons = 4 + i % 3;
        for (int k = 0; k < kWeaponSlots; ++k) {
            const uint16_t value =
                k < weapons ? static_cast<uint16_t>(weapon++ % weapon_record::kCount) : kNone16;
            rom.Put16(r + kWeapons + 2 * static_cast<uint32_t>(k), value);
        }
        rom.PutText(r + kName, kNameLength, UnitName(i));
    }
}

void WriteWeapons(RomWriter& rom) {
    using namespace weapon_record;
    for (int i = 0; i < kCount; ++i) {
        const uint32_t r = kBase + kSize * static_cast<uint32_t>(i);
        const int form = i % 20;
        const bool melee = (i / 20) % 3 == 1;
        const bool map = form == 7;  // the spread forms are map weapons
        rom.Fill(r, kSize, 0x00);
        rom.Put8(r + kType1, static_cast<uint8_t>(melee ? 1 : (i / 20) % 7 == 6 ? 2 : 0));
        rom.Put8(r + kType2, static_cast<uint8_t>((i / 20) % weapon_type_names::kCount));
        rom.Put8(r + kSelection, static_cast<uint8_t>(form == 9 ? 1 : form == 13 ? 2 : 0));
        rom.Put8(r + kWp, static_cast<uint8_t>(form % 4 == 3 ? 10 : 0));
        rom.Put8(r + kMinRange, 1);
        rom.Put8(r + kMaxRange, static_cast<uint8_t>(melee ? 1 : 2 + i % 5));
        rom.Put8(r + kCostType, static_cast<uint8_t>(i % 5));
        rom.Put8(r + kGrowthType, static_cast<uint8_t>((i / 5) % 5));
        rom.Put8(r + kDirection, map ? static_cast<uint8_t>(i % 4) : kNone8);
        rom.Put8(r + kShape, static_cast<uint8_t>(map ? 1 + i % 6 : 0));
        rom.Put8(r + kEffect, static_cast<uint8_t>(map ? i % 9 : 0));
        rom.Put8(r + kFriendId, static_cast<uint8_t>(map && i % 2 == 0 ? 1 : 0));
        const bool needsSkill = form == 10 || form == 16;
        rom.Put8(r + kSkill, needsSkill ? static_cast<uint8_t>(i % kSkillCount) : kNone8);
        rom.Put8(r + kSkillLevel, static_cast<uint8_t>(needsSkill ? 1 + i % 4 : 0));
        rom.Put16(r + kAttack, static_cast<uint16_t>(1200 + (i % 37) * 100 + form * 50));
        rom.Put16(r + kHit, static_cast<uint16_t>(form == 6 ? 65526 : 10 + i % 4 * 5));
        rom.Put16(r + kCritical, static_cast<uint16_t>(i % 3 * 10));
        rom.Put16(r + kAmmo, static_cast<uint16_t>(melee || i % 2 ? 0 : 4 + i % 8));
        rom.Put16(r + kEn, static_cast<uint16_t>(!melee && i % 2 ? 10 + i % 6 * 5 : 0));
        rom.Put16(r + kMorale, static_cast<uint16_t>(form >= 14 ? 110 + form % 3 * 10 : 0));
        rom.Put16(r + kTerrain, Terrain(1 + i % 2, 1, 2 + i % 3, 1));
        rom.Put8(r + kFlags,
                 static_cast<uint8_t>((melee ? 0x02 : 0x20) | (i % 8 == 0 ? 0x08 : 0) |
                                      (i % 11 == 0 ? 0x04 : 0) | (form == 0 ? 0x80 : 0)));
        rom.PutText(r + kName, kNameLength, WeaponName(i));
    }
}

void WritePilots(RomWriter& rom) {
    using namespace pilot_record;
    for (int i = 0; i < kCount; ++i) {
        const uint32_t r = kBase + kSize * static_cast<uint32_t>(i);
        rom.Fill(r, kSize, 0x00);
        rom.Put8(r + kGrowth, static_cast<uint8_t>(i % 15));
        const bool female = i % 11 == 0 || i % 11 == 4 || i % 11 == 7 || i % 11 == 9;
        rom.Put8(r + kSexPersonality, static_cast<uint8_t>((i % 16) << 4 | (female ? 1 : 0)));
        rom.Put16(r + kAceBonus, static_cast<uint16_t>(i % kAceBonusCount));
        rom.Put16(r + kSp, static_cast<uint16_t>(40 + i % 9 * 10));
        // melee, shooting, evasion, accuracy, defence, skill: six words from kMelee
        for (int k = 0; k < 6; ++k) {
            rom.Put16(r + kMelee + 2 * static_cast<uint32_t>(k),
                      static_cast<uint16_t>(120 + (i * 7 + k * 13) % 60));
        }
        rom.Put16(r + kExperience, static_cast<uint16_t>(50 + i % 10 * 20));
        rom.Put16(r + kTerrain, Terrain(i % 4 == 0 ? 0 : 2, 1, 2 + i % 2, 1 + i % 3));
        rom.Put8(r + kBoarding, static_cast<uint8_t>(i % 6));
        rom.Put8(r + kBgmSet, static_cast<uint8_t>(i % bgm_table::kSetCount));
        if (i == kLockedPilot) {
            std::vector<uint8_t> locked = EncodeCodes(PilotNickname(i));
            locked.push_back(kUnlistedLead);
            locked.push_back(kUnlistedTrail);
            locked.push_back(0xFF);
            rom.PutField(r + kNickname, kNicknameLength, locked);
        } else {
            rom.PutText(r + kNickname, kNicknameLength, PilotNickname(i));
        }
        rom.PutText(r + kName, kNameLength, PilotName(i));
    }
}

void WritePilotAbilities(RomWriter& rom) {
    for (int i = 0; i < pilot_record::kCount; ++i) {
        using namespace pilot_spirit_record;
        const uint32_t r = kBase + kSize * static_cast<uint32_t>(i);
        rom.Fill(r, kSize, 0x00);
        for (int s = 0; s < kSlots; ++s) {
            const auto slot = static_cast<uint32_t>(s);
            const bool used = s < 5 || i % 2 == 0;
            rom.Put8(r + kSpirits + slot,
                     used ? static_cast<uint8_t>((i * 5 + s * 7) % kSpiritCount) : kNone8);
            rom.Put8(r + kLevels + slot, static_cast<uint8_t>(used ? 1 + s * 8 + i % 5 : 0));
            rom.Put8(r + kCosts + slot, static_cast<uint8_t>(used ? 10 + (i + s * 3) % 8 * 5 : 0));
        }
    }
    for (int i = 0; i < pilot_record::kCount; ++i) {
        using namespace pilot_skill_record;
        const uint32_t r = kBase + kSize * static_cast<uint32_t>(i);
        const int skills = 2 + i % 4;
        for (int s = 0; s < kSlots; ++s) {
            const uint32_t slot = r + kSlotSize * static_cast<uint32_t>(s);
            const bool used = s < skills;
            rom.Put8(slot + kSkill, used ? static_cast<uint8_t>((i * 3 + s * 5) % kSkillCount) : kNone8);
            for (int l = 0; l < kLevelCount; ++l) {
                rom.Put8(slot + kLevels + static_cast<uint32_t>(l),
                         static_cast<uint8_t>(used ? 1 + l * 6 + s * 2 : 0));
            }
        }
    }
}

void WriteBgm(RomWriter& rom) {
    using namespace bgm_table;
    for (int i = 0; i < kNameCount; ++i) {
        rom.PutText(kNames + kNameSize * static_cast<uint32_t>(i), kNameSize, BgmName(i));
    }
    // Set 0 has no track; most sets play one; the last ones chain two or three.
    for (int k = 0; k < kSetCount; ++k) {
        const uint32_t r = kSets + kSetSize * static_cast<uint32_t>(k);
        rom.Fill(r, kSetSize, 0x00);
        if (k == 0) continue;
        const int tracks = k < 54 ? 1 : 2 + k % 2;
        for (int t = 0; t < tracks && t < kTracks; ++t) {
            rom.Put16(r + 2 * static_cast<uint32_t>(t),
                      static_cast<uint16_t>(1 + (k - 1 + t * 17) % (kNameCount - 1)));
        }
    }
}

void WriteNameTables(RomWriter& rom) {
    using namespace personality_names;
    for (int i = 0; i < kCount; ++i) {
        // Only the first 8 bytes of a slot: the last slot's other half is the first
        // special skill record.
        rom.PutText(kBase + kSlotSize * static_cast<uint32_t>(i), kLength, PersonalityName(i));
    }
    // Weapon-type names one after another, each starting at an even offset.
    TextArea area(rom, weapon_type_names::kBase);
    for (int i = 0; i < weapon_type_names::kCount; ++i) {
        area.Add(WeaponTypeName(i));
        area.Align(2);
    }
}

}  // namespace

void WriteUnitsAndPilots(RomWriter& rom) {
    WriteUnits(rom);
    WriteWeapons(rom);
    WritePilots(rom);
    WritePilotAbilities(rom);
    WriteBgm(rom);
    WriteNameTables(rom);
}

}  // namespace tsumugi::demo::detail

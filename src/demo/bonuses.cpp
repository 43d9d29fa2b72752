// Demo records of the ace bonuses, the full-upgrade bonuses and the trust bonuses, with the
// texts that label their choices. A bonus's name says what its record holds.
#include <array>

#include "demo/data.h"
#include "core/layout/abilities.h"
#include "core/layout/bonuses.h"
#include "core/layout/pilots.h"

namespace tsumugi::demo::detail {
namespace {

using namespace tsumugi::layout;

constexpr int kSpiritCount = spirit_record::kCount, kSkillCount = skill_record::kCount,
              kPilotCount = pilot_record::kCount;

// The effect texts of the full-upgrade bonus editor, one per fixed place of
// full_effect_texts::kTexts.
constexpr std::array<const char*, full_effect_texts::kTexts.size()> kEffectTexts = {
    "格闘", "射撃", "命中", "回避", "ＥＮ", "弾数",
    "気力", "経験値", "資金", "ＨＰ回復（小）", "ＥＮ回復（小）", "ビームコート",
    "Ｅフィールド", "切り払い", "撃ち落とし", "分身", "ジャマー", "底力",
    "攻撃力上昇", "攻撃力上昇", "率上昇", "率上昇", "消費軽減", "増加",
    "上限上昇", "獲得量増加",
};

constexpr std::array kAceLabels = {
    "格闘＋",         "射撃＋",       "反撃＋",     "念動＋",
    "援護攻撃＋",     "被ダメージ－", "援護防御＋", "間接攻撃の被ダメージ－",
    "命中＋",         "最終命中率＋", "回避＋",     "最終回避率＋",
    "クリティカル＋", "経験値＋",     "資金＋",
};

std::string FullWidthNumber(int n) {
    static constexpr const char* kDigits[] = {"０", "１", "２", "３", "４",
                                              "５", "６", "７", "８", "９"};
    const std::string plain = std::to_string(n);
    std::string out;
    for (const char c : plain) out += kDigits[c - '0'];
    return Sj(out);
}

int AcePercent(int i) { return 5 + 5 * (i / ace_record::kPercentFields % 4); }
bool AceHasSp(int i) { return i % 3 == 0; }
bool AceHasSpirit(int i) { return i % 5 == 0; }
bool AceHasSkill(int i) { return i % 7 == 0; }
bool AceHasMovement(int i) { return i % 10 == 9; }
int AceSpirit(int i) { return i * 7 % kSpiritCount; }
int AceSkill(int i) { return i * 5 % kSkillCount; }

int FullKind(int i) { return i % full_record::kKinds; }
int FullAmount(int i) { return 10 + 5 * (i / full_record::kKinds); }
int FullEffect(int i) { return i / full_record::kKinds % full_record::kEffects; }

void WriteAceBonuses(RomWriter& rom) {
    using namespace ace_record;
    for (int i = 0; i < kCount; ++i) {
        const uint32_t r = kBase + kSize * static_cast<uint32_t>(i);
        rom.Fill(r, kSize, 0x00);
        rom.Put8(r + static_cast<uint32_t>(i % kPercentFields),
                 static_cast<uint8_t>(AcePercent(i)));
        rom.Put8(r + kSpBonus, static_cast<uint8_t>(AceHasSp(i) ? 10 : 0));
        rom.Put8(r + kSpirit, AceHasSpirit(i) ? static_cast<uint8_t>(AceSpirit(i)) : kNone8);
        rom.Put8(r + kSpiritCost, static_cast<uint8_t>(AceHasSpirit(i) ? 5 : 0));
        rom.Put8(r + kSkill, AceHasSkill(i) ? static_cast<uint8_t>(AceSkill(i)) : kNone8);
        rom.Put8(r + kSkillBoost, static_cast<uint8_t>(AceHasSkill(i) ? 10 : 0));
        rom.Put8(r + kMovement, static_cast<uint8_t>(AceHasMovement(i) ? 1 : 0));
        rom.PutText(r + kName, kNameLength, AceBonusName(i));
    }
}

void WriteFullBonuses(RomWriter& rom) {
    using namespace full_record;
    for (int i = 0; i < kCount; ++i) {
        const uint32_t r = kBase + kSize * static_cast<uint32_t>(i);
        const int amount = FullAmount(i);
        rom.Fill(r, kSize, 0x00);
        rom.Put8(r + kEffect1, kNone8);
        rom.Put8(r + kEffect2, kNone8);
        switch (FullKind(i)) {
            case 0:
                rom.Put8(r + kHp, static_cast<uint8_t>(amount));
                break;
            case 1:
                rom.Put8(r + kEn, static_cast<uint8_t>(amount));
                break;
            case 2:
                rom.Put8(r + kMobility, static_cast<uint8_t>(amount));
                break;
            case 3:
                rom.Put8(r + kArmour, static_cast<uint8_t>(amount));
                break;
            case 4:
                rom.Put8(r + kSlots, 1);
                break;
            case 5:
                rom.Put8(r + kAllWeapons, static_cast<uint8_t>(amount / 10));
                break;
            case 6:
                rom.Put8(r + kTerrainS, 1);
                break;
            case 7:
                rom.Put8(r + kWeaponTerrainS, 1);
                break;
            case 8:
                rom.Put8(r + kEffect1, static_cast<uint8_t>(FullEffect(i)));
                rom.Put8(r + kEffect2, static_cast<uint8_t>(FullEffect(i)));
                rom.Put8(r + kEffectValue, static_cast<uint8_t>(amount));
                break;
            default:
                rom.Put8(r + kWp, 10);
                rom.Put8(r + kHit, static_cast<uint8_t>(amount));
                break;
        }
        rom.PutText(r + kName, kNameLength, FullBonusName(i));
    }
    for (size_t k = 0; k < kEffectTexts.size(); ++k) {
        const full_effect_texts::Text& place = full_effect_texts::kTexts[k];
        rom.PutText(place.at, place.room, Sj(kEffectTexts[k]));
    }
}

void WriteTrust(RomWriter& rom) {
    using namespace trust_record;
    for (int i = 0; i < kCount; ++i) {
        const uint32_t r = kBase + kSize * static_cast<uint32_t>(i);
        rom.Put16(r + kPilot, static_cast<uint16_t>(i * 4 % kPilotCount));
        rom.Put16(r + 2, 0);
        const int pages = 1 + i % kPageCount;
        for (int p = 0; p < kPageCount; ++p) {
            const uint32_t page = r + kPages + kPageSize * static_cast<uint32_t>(p);
            const bool used = p < pages;
            rom.Put16(page + kType, used ? static_cast<uint16_t>((i + p) % 4) : kNone16);
            rom.Put16(page + kEffect, used ? static_cast<uint16_t>(1 + (i + p) % 3) : kNone16);
            for (int k = 0; k < kPartners; ++k) {
                const bool partner = used && (k == 0 || (k == 1 && i % 2 == 0));
                const auto who = static_cast<uint16_t>((i * 4 + 1 + p * 5 + k * 3) % kPilotCount);
                rom.Put16(page + kPartner + 2 * static_cast<uint32_t>(k), partner ? who : kNone16);
            }
        }
    }
    for (int t = 0; t < trust_type_names::kCount; ++t) {
        rom.PutText(
            trust_type_names::kBase + trust_type_names::kEntrySize * static_cast<uint32_t>(t),
            trust_type_names::kEntrySize, TrustTypeName(t));
    }
}

}  // namespace

std::string AceBonusName(int i) {
    const std::string lineBreak = "\r\n";
    std::string name = Sj(kAceLabels[static_cast<size_t>(i % ace_record::kPercentFields)]) +
                       FullWidthNumber(AcePercent(i)) + Sj("％");
    if (AceHasSp(i)) name += lineBreak + Sj("ＳＰ＋") + FullWidthNumber(10);
    if (AceHasSpirit(i)) {
        name +=
            lineBreak + Sj("「") + SpiritName(AceSpirit(i)) + Sj("」消費ＳＰ") + FullWidthNumber(5);
    }
    if (AceHasSkill(i)) {
        name += lineBreak + Sj("「") + SkillName(AceSkill(i)) + Sj("」＋") + FullWidthNumber(10) +
                Sj("％");
    }
    if (AceHasMovement(i)) name += lineBreak + Sj("移動力＋") + FullWidthNumber(1);
    return name;
}

std::string FullBonusName(int i) {
    const std::string amount = FullWidthNumber(FullAmount(i));
    switch (FullKind(i)) {
        case 0:
            return Sj("ＨＰ＋") + amount + Sj("％");
        case 1:
            return Sj("ＥＮ＋") + amount + Sj("％");
        case 2:
            return Sj("運動性＋") + amount + Sj("％");
        case 3:
            return Sj("装甲＋") + amount + Sj("％");
        case 4:
            return Sj("パーツスロット＋") + FullWidthNumber(1);
        case 5:
            return Sj("全武器攻撃力＋") + FullWidthNumber(FullAmount(i) / 10 * 10);
        case 6:
            return Sj("地形適応Ｓ（空以外）");
        case 7:
            return Sj("固定武器の地形適応Ｓ");
        case 8:
            return Sj(kEffectTexts[static_cast<size_t>(full_effect_texts::kFirstEffect1Text + FullEffect(i))]) +
                   Sj("付加");
        default:
            return Sj("ＷＰ＋") + FullWidthNumber(10) + Sj("、命中＋") + amount + Sj("％");
    }
}

void WriteBonuses(RomWriter& rom) {
    WriteAceBonuses(rom);
    WriteFullBonuses(rom);
    WriteTrust(rom);
}

}  // namespace tsumugi::demo::detail

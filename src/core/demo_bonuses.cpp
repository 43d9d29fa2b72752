// Demo records of the ace bonuses, the full-upgrade bonuses and the trust bonuses, with the
// texts that label their choices. A bonus's name says what its record holds.
#include <array>

#include "core/demo_data.h"

namespace tsumugi::demo::detail {
namespace {

namespace ace_record {
constexpr uint32_t kBase = 0xD6670, kSize = 88;
constexpr int kCount = 60;
constexpr uint32_t kSpBonus = 15, kSpirit = 16, kSpiritCost = 17, kSkill = 18, kSkillBoost = 19,
                   kMovement = 20, kName = 24, kNameLength = 64;
constexpr int kPercentFields = 15;  // offsets 0-14
}  // namespace ace_record

namespace full_record {
constexpr uint32_t kBase = 0xCA034, kSize = 52;
constexpr int kCount = 50;
constexpr uint32_t kHp = 0, kEn = 1, kMobility = 2, kArmour = 3, kWp = 4, kSlots = 5, kTerrainS = 6,
                   kEffect1 = 8, kEffect2 = 9, kEffectValue = 11, kAllWeapons = 15, kHit = 17,
                   kWeaponTerrainS = 18, kName = 20, kNameLength = 32;
constexpr int kKinds = 10, kEffects = 9;
}  // namespace full_record

namespace trust_record {
constexpr uint32_t kBase = 0xD5D00, kSize = 52, kPilot = 0, kPages = 4, kPageSize = 12;
constexpr int kCount = 44, kPageCount = 4, kPartners = 4;
constexpr uint32_t kType = 0, kEffect = 2, kPartner = 4;
}  // namespace trust_record

namespace trust_type_table {
constexpr uint32_t kBase = 0x9A64C, kEntrySize = 8;
constexpr int kCount = 4;
}  // namespace trust_type_table

constexpr int kSpiritCount = 33, kSkillCount = 36, kPilotCount = 176;

// The effect texts of the full-upgrade bonus editor: each at a fixed address, with the
// room up to the next one.
struct FixedText {
    uint32_t at;
    uint32_t room;
    const char* text;
};
constexpr std::array<FixedText, 26> kEffectTexts = {{
    {0x9ACE6, 8, "格闘"},
    {0x9ACEE, 10, "射撃"},
    {0x9ACF8, 8, "命中"},
    {0x9AD00, 8, "回避"},
    {0x9AD08, 10, "ＥＮ"},
    {0x9AD12, 10, "弾数"},
    {0x9AD1C, 12, "気力"},
    {0x9AD28, 10, "経験値"},
    {0x9AD32, 10, "資金"},
    {0x9AD3C, 16, "ＨＰ回復（小）"},
    {0x9AD4C, 16, "ＥＮ回復（小）"},
    {0x9AD5C, 16, "ビームコート"},
    {0x9AD6C, 16, "Ｅフィールド"},
    {0x9AD7C, 16, "切り払い"},
    {0x9AD8C, 16, "撃ち落とし"},
    {0x9AD9C, 6, "分身"},
    {0x9ADA2, 10, "ジャマー"},
    {0x9ADAC, 8, "底力"},
    {0x9ADB4, 14, "攻撃力上昇"},
    {0x9ADC2, 12, "攻撃力上昇"},
    {0x9ADCE, 12, "率上昇"},
    {0x9ADDA, 12, "率上昇"},
    {0x9ADE6, 12, "消費軽減"},
    {0x9ADF2, 10, "増加"},
    {0x9ADFC, 10, "上限上昇"},
    {0x9AE06, 60, "獲得量増加"},
}};
constexpr int kFirstEffect1Text = 9;  // kEffectTexts[9 + k] is item k of the first list

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
    for (const FixedText& t : kEffectTexts) rom.PutText(t.at, t.room, Sj(t.text));
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
    for (int t = 0; t < trust_type_table::kCount; ++t) {
        rom.PutText(
            trust_type_table::kBase + trust_type_table::kEntrySize * static_cast<uint32_t>(t),
            trust_type_table::kEntrySize, TrustTypeName(t));
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
            return Sj(kEffectTexts[static_cast<size_t>(kFirstEffect1Text + FullEffect(i))].text) +
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

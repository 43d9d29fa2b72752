// Demo records of the spirit commands, the special skills and the enhancement parts, with
// their classification lists and the skill-type names.
#include <array>

#include "demo/data.h"
#include "core/layout/abilities.h"

namespace tsumugi::demo::detail {
namespace {

using namespace tsumugi::layout;
// How full the demo fills each class: a full skill class and an empty one, a full part class.
constexpr std::array<int, skill_class_record::kCount> kSkillClassCounts = {7, 5, 12, 0, 3};
constexpr std::array<int, part_class_record::kCount> kPartClassCounts = {10, 8, 28, 4};

constexpr std::array kSpiritEffects = {
    "命中率と回避率が\r\n一時的に上がる。",
    "次の攻撃が必ず命中する。",
    "次の攻撃を一度だけ必ず回避する。",
    "移動力が一時的に上がる。",
    "受けるダメージが\r\n大幅に減る。",
    "次の攻撃のダメージが上がる。",
    "次の攻撃のダメージが\r\n大きく上がる。",
    "味方全員のＨＰを回復する。",
    "味方一人のＨＰを回復する。",
    "味方全員の気力を上げる。",
    "もう一度行動できる。",
    "次の戦闘で得る資金が増える。",
    "味方一人の得る資金を増やす。",
    "次の戦闘で得る経験値が増える。",
    "味方一人の得る経験値を増やす。",
    "敵の能力を見る。",
    "敵の気力を下げる。",
    "敵を引き寄せる。",
    "気力が上がる。",
    "気力が大きく上がる。",
    "ＨＰを少し回復する。",
    "ＨＰを全回復する。",
    "ＨＰを全回復し、\r\n気力を上げる。",
    "多くの精神を同時にかける。",
    "多くの精神を同時にかける。",
    "ＥＮと弾数を全回復する。",
    "行動済みの味方を\r\n再び行動可能にする。",
    "攻撃が敵の防御を貫く。",
    "攻撃が敵の特殊能力を無視する。",
    "射程が少し伸びる。",
    "一度だけダメージを１０にする。",
    "自分の気力を味方に分ける。",
    "多くの精神を同時にかける。",
};

constexpr std::array kPartEffects = {
    "ＥＮを全回復する。",       "ＨＰを全回復する。",
    "装甲値が上がる。",         "命中率が上がる。",
    "クリティカル率が上がる。", "移動力が上がる。",
    "運動性が上がる。",         "ビームによる被害を\r\n減らす。",
    "弾数を回復する。",         "最大ＥＮが上がる。",
    "運動性と命中率が上がる。", "地形適応が上がる。",
    "敵の命中率を下げる。",     "毎ターンＨＰが回復する。",
    "陸の地形適応を上げる。",   "空を飛べるようになる。",
    "海の地形適応を上げる。",   "宇宙の地形適応を上げる。",
    "陸の地形適応を上げる。",   "最大ＨＰと装甲値が上がる。",
    "攻撃を確率で回避する。",   "ＳＰが毎ターン回復する。",
    "気力が上がる。",
};

uint16_t InitialCode(const std::string& name) {
    const std::vector<uint8_t> codes = EncodeCodes(name);
    if (codes.empty()) return 0;
    if (codes[0] < 0xC0 || codes.size() < 2) return static_cast<uint16_t>(codes[0] | 0xFF00);
    return static_cast<uint16_t>(codes[0] | codes[1] << 8);
}

void WriteSpirits(RomWriter& rom) {
    using namespace spirit_record;
    for (int i = 0; i < kCount; ++i) {
        const uint32_t r = kBase + kSize * static_cast<uint32_t>(i);
        rom.Put8(r + kDuration, static_cast<uint8_t>(i % 7));
        rom.Put8(r + kTarget, static_cast<uint8_t>(i % 9 == 7    ? 1
                                                   : i % 9 == 8  ? 2
                                                   : i % 11 == 5 ? 3
                                                                 : 0));
        rom.Put8(r + kOnOthers, static_cast<uint8_t>(i % 9 >= 7 ? 1 : 0));
        rom.Put8(r + kSpCost, static_cast<uint8_t>(10 + i % 8 * 5));
        rom.Put16(r + kInitial, i % 10 == 9 ? 0 : InitialCode(SpiritName(i)));
        rom.PutText(r + kName, kNameLength, SpiritName(i));
        rom.PutText(r + kDescription, kDescriptionLength,
                    Sj(kSpiritEffects[static_cast<size_t>(i)]));
    }
}

void WriteSkills(RomWriter& rom) {
    using namespace skill_record;
    for (int i = 0; i < kCount; ++i) {
        const uint32_t r = kBase + kSize * static_cast<uint32_t>(i);
        const bool levels = i % 3 != 2;
        rom.Put8(r + kAcquirable, static_cast<uint8_t>(i % 4 != 3 ? 1 : 0));
        rom.Put8(r + kHasLevels, static_cast<uint8_t>(levels ? 1 : 0));
        rom.Put8(r + kType, static_cast<uint8_t>(i % skill_type_names::kCount));
        rom.Put8(r + 3, 0);
        for (int l = 0; l < kLevels; ++l) {
            const bool within = levels ? l < 4 + i % 6 : l == 0;
            rom.Put8(r + kPpCosts + static_cast<uint32_t>(l),
                     static_cast<uint8_t>(within ? 20 + l * 10 + i % 4 * 5 : 0));
        }
        rom.Put8(r + kMaxLevel, static_cast<uint8_t>(levels ? 4 + i % 6 : 1));
        rom.PutText(r + kName, kNameLength, SkillName(i));
        const std::string pages[kPageCount] = {
            Sj("「") + SkillName(i) + Sj("」の技能。\r\n戦闘で効果を発揮する。"),
            levels ? Sj("レベルが上がるほど\r\n効果が大きくなる。") : Sj("レベルはない。"),
            i % 4 == 3 ? Sj("養成では習得できない。") : std::string(),
        };
        for (int p = 0; p < kPageCount; ++p) {
            rom.PutText(r + kPages + kPageLength * static_cast<uint32_t>(p), kPageLength, pages[p]);
        }
        rom.Fill(r + kSize - 2, 2, 0x00);
    }
    for (int t = 0; t < skill_type_names::kCount; ++t) {
        rom.PutText(
            skill_type_names::kBase + skill_type_names::kEntrySize * static_cast<uint32_t>(t),
            skill_type_names::kEntrySize, SkillTypeName(t));
    }
}

// Where a classification table lies and how its records are laid out.
struct ClassTable {
    uint32_t base, size, countField, unshown, entries;
};

// Both tables hold 32-bit counts and 16-bit entries.
static_assert(skill_class_record::kEntryCountWidth == 4 && skill_class_record::kEntryWidth == 2);
static_assert(part_class_record::kEntryCountWidth == 4 && part_class_record::kEntryWidth == 2);
constexpr ClassTable kSkillClasses = {skill_class_record::kBase, skill_class_record::kSize,
                                      skill_class_record::kEntryCount, skill_class_record::kUnshown,
                                      skill_class_record::kEntries};
constexpr ClassTable kPartClasses = {part_class_record::kBase, part_class_record::kSize,
                                     part_class_record::kEntryCount, part_class_record::kUnshown,
                                     part_class_record::kEntries};

// A classification table: per class a 32-bit count, 4 bytes the editor never touches (the
// demo marks them with the class number) and 16-bit entries, all distinct within a class;
// slots past the count hold 0.
template <size_t N>
void WriteClassTable(RomWriter& rom, const ClassTable& t, const std::array<int, N>& counts,
                     int classStep, int entryStep, int entries) {
    for (size_t c = 0; c < N; ++c) {
        const uint32_t r = t.base + t.size * static_cast<uint32_t>(c);
        rom.Fill(r, t.size, 0x00);
        rom.Put32(r + t.countField, static_cast<uint32_t>(counts[c]));
        rom.Put8(r + t.unshown, static_cast<uint8_t>(c + 1));
        for (int k = 0; k < counts[c] && t.entries + 2 * static_cast<uint32_t>(k) < t.size; ++k) {
            rom.Put16(
                r + t.entries + 2 * static_cast<uint32_t>(k),
                static_cast<uint16_t>((static_cast<int>(c) * classStep + k * entryStep) % entries));
        }
    }
}

void WriteParts(RomWriter& rom) {
    using namespace part_record;
    const int bases = static_cast<int>(kPartEffects.size());
    for (int i = 0; i < kCount; ++i) {
        const uint32_t r = kBase + kSize * static_cast<uint32_t>(i);
        const int b = i % bases;
        const bool improved = i >= bases;
        const int step = improved ? 2 : 1;
        rom.Fill(r, kSize, 0x00);
        rom.Put8(r + kType, static_cast<uint8_t>(b < 2 || b == 8     ? 3
                                                 : b == 22           ? 1
                                                 : b == 7 || b == 20 ? 2
                                                                     : 0));
        rom.Put8(r + kUnshown, static_cast<uint8_t>(i % 3));
        rom.Put8(r + kMovement, static_cast<uint8_t>(b == 5 ? step : 0));
        rom.Put8(r + kEn, static_cast<uint8_t>(b == 9 ? 50 * step : 0));
        rom.Put8(r + kMobility, static_cast<uint8_t>(b == 6 || b == 10 ? 5 * step : 0));
        rom.Put8(r + kHit, static_cast<uint8_t>(b == 3 || b == 10 ? 10 * step : 0));
        rom.Put8(r + kCritical, static_cast<uint8_t>(b == 4 ? 10 * step : 0));
        rom.Put8(r + kRange, static_cast<uint8_t>(b == 3 && improved ? 1 : 0));
        const uint8_t terrain = b == 11              ? 0x08
                                : b == 14 || b == 18 ? 0x20
                                : b == 15            ? 0x01
                                : b == 16            ? 0x42
                                : b == 17            ? 0x80
                                                     : 0;
        rom.Put16(r + kTerrain, terrain);
        rom.Put8(r + kAbilities3, static_cast<uint8_t>(b == 13   ? (improved ? 0x01 : 0x04)
                                                       : b == 20 ? 0x40
                                                                 : 0));
        rom.Put8(r + kJammer, static_cast<uint8_t>(b == 12 ? 1 : 0));
        rom.Put8(r + kAbilities1, static_cast<uint8_t>(b == 7 ? (improved ? 0x04 : 0x01) : 0));
        rom.Put8(r + kEnergyAbsorb, static_cast<uint8_t>(b == 9 && improved ? 1 : 0));
        rom.Put8(r + kMorale, static_cast<uint8_t>(b == 22 ? 10 * step : 0));
        rom.Put8(r + kRecovery, static_cast<uint8_t>(b == 0   ? 0x02
                                                     : b == 1 ? 0x01
                                                     : b == 8 ? 0x04
                                                              : 0));
        rom.Put16(r + kSpRecovery, static_cast<uint16_t>(b == 21 ? 5 * step : 0));
        rom.Put16(r + kHp, static_cast<uint16_t>(b == 19 ? 500 * step : 0));
        rom.Put16(r + kArmour, static_cast<uint16_t>(b == 2 || b == 19 ? 150 * step : 0));
        rom.Put16(r + kPrice, static_cast<uint16_t>(2000 + b * 500 + (improved ? 5000 : 0)));
        rom.PutText(r + kName, kNameLength, PartName(i));
        rom.PutText(r + kDescription1, kDescriptionLength,
                    Sj(kPartEffects[static_cast<size_t>(b)]));
        rom.PutText(r + kDescription2, kDescriptionLength,
                    improved ? Sj("性能を高めた改良型。") : std::string());
    }
}

}  // namespace

void WriteAbilities(RomWriter& rom) {
    WriteSpirits(rom);
    WriteSkills(rom);
    WriteClassTable(rom, kSkillClasses, kSkillClassCounts, 7, 3, skill_record::kCount);
    WriteParts(rom);
    WriteClassTable(rom, kPartClasses, kPartClassCounts, 5, 1, part_record::kCount);
}

}  // namespace tsumugi::demo::detail

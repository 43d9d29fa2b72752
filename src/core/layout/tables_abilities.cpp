// The descriptors of the spirit command, special skill and enhancement part tables and of
// the two classification tables.
#include <array>
#include <string>
#include <vector>

#include "core/layout/abilities.h"
#include "core/layout/descriptor.h"
#include "core/layout/field_builders.h"
#include "core/layout/units.h"
#include "core/regions.h"

namespace tsumugi::layout::detail {
namespace {

// The tab and slot names that qualify a label the editor shows more than once.
constexpr const char* kPageNames[] = {"その１", "その２", "その３"};

std::vector<Field> SpiritFields() {
    using namespace spirit_record;
    return {
        Choice("持続タイプ", kDuration, kDurationItems),
        Choice("対象", kTarget, kTargetItems),
        ByteFlag("他人にかけられる", kOnOthers),
        Number("消費SP", kSpCost, 1),
        // The code of one character, unterminated: a one-byte code c stands as c, 0xFF, a
        // two-byte code first byte first; 0 leaves the box empty.
        Text("名前一文字", kInitial, kInitialLength),
        Text("名前", kName, kNameLength),
        Text("説明", kDescription, kDescriptionLength),
    };
}

std::vector<Field> SkillFields() {
    using namespace skill_record;
    std::vector<Field> f = {
        ByteFlag("取得可能", kAcquirable),
        ByteFlag("レベルあり", kHasLevels),
        Refer("技能種類", kType, 1, Ref::SkillType, -1),
    };
    for (int l = 0; l < kLevels; ++l) {
        f.push_back(Number(KeepLabel("消費PP LV" + std::to_string(l + 1)),
                           kPpCosts + static_cast<uint32_t>(l), 1));
    }
    f.push_back(Number("最大レベル", kMaxLevel, 1));
    f.push_back(Text("名前", kName, kNameLength));
    for (int p = 0; p < kPageCount; ++p) {
        f.push_back(Text(KeepLabel(std::string(kPageNames[p]) + " 説明"),
                         kPages + kPageLength * static_cast<uint32_t>(p), kPageLength));
    }
    return f;
}

// A classification record: the count, then the entries the list "データ一覧" shows, one per
// slot. The four bytes between them belong to no control.
struct ClassLayout {
    uint32_t count, countWidth, entries, entryWidth;
    int maxEntries;
    Ref refers;
};

std::vector<Field> ClassFields(const ClassLayout& c) {
    std::vector<Field> f = {Number("件数", c.count, static_cast<uint8_t>(c.countWidth),
                                   static_cast<uint32_t>(c.maxEntries))};
    for (int k = 0; k < c.maxEntries; ++k) {
        f.push_back(Refer(KeepLabel("データ一覧" + std::to_string(k + 1)),
                          c.entries + c.entryWidth * static_cast<uint32_t>(k),
                          static_cast<uint8_t>(c.entryWidth), c.refers, -1));
    }
    return f;
}

std::vector<Field> PartFields() {
    using namespace part_record;
    std::vector<Field> f = {
        Choice("タイプ", kType, kTypeItems),
        Number("移動力＋", kMovement, 1), Number("EN＋", kEn, 1), Number("運動性＋", kMobility, 1),
        Number("命中＋", kHit, 1), Number("CT率＋", kCritical, 1), Number("射程＋", kRange, 1),
    };
    // The terrain boxes are the low byte of a 16-bit word whose high byte is stored as 0.
    static const char* const kTerrainLabels[] = {"タイプ空", "タイプ海", "？？？", "適応S",
                                                 "空A",      "陸A",      "海A",    "宇A"};
    for (int b = 0; b < 8; ++b) f.push_back(Flag(kTerrainLabels[b], kTerrain, b, 2));
    // The "特殊技能" page of the unit editor without its fifth group: groups 1 and 3 are
    // bytes of eight boxes; groups 2 and 4 one box each, read from bit 0 and stored as a
    // whole byte of 1 or 0.
    using unit_record::kAbilityGroups;
    for (int b = 0; b < 8; ++b) f.push_back(Flag(kAbilityGroups[2].labels[b], kAbilities3, b));
    f.push_back(Flag(kAbilityGroups[3].labels[0], kJammer, 0));
    for (int b = 0; b < 8; ++b) f.push_back(Flag(kAbilityGroups[0].labels[b], kAbilities1, b));
    f.push_back(Flag(kAbilityGroups[1].labels[0], kEnergyAbsorb, 0));
    f.push_back(Number("気力＋", kMorale, 1));
    // Bits 3-7 are stored as 0.
    f.push_back(Flag("HP回復", kRecovery, 0));
    f.push_back(Flag("EN回復", kRecovery, 1));
    f.push_back(Flag("弾数回復", kRecovery, 2));
    f.push_back(Number("SP回復量", kSpRecovery, 2));
    f.push_back(Number("HP＋", kHp, 2));
    f.push_back(Number("装甲＋", kArmour, 2));
    f.push_back(Number("売値", kPrice, 2));
    f.push_back(Text("名前", kName, kNameLength));
    f.push_back(Text("説明１", kDescription1, kDescriptionLength));
    f.push_back(Text("説明２", kDescription2, kDescriptionLength));
    return f;
}

}  // namespace

std::span<const Table> AbilityTables() {
    namespace c = category;
    static const std::vector<Field> spirit = SpiritFields();
    static const std::vector<Field> skill = SkillFields();
    namespace sc = skill_class_record;
    namespace pc = part_class_record;
    static const std::vector<Field> skillClass =
        ClassFields({sc::kEntryCount, sc::kEntryCountWidth, sc::kEntries, sc::kEntryWidth,
                     sc::kMaxEntries, Ref::Skill});
    static const std::vector<Field> part = PartFields();
    static const std::vector<Field> partClass =
        ClassFields({pc::kEntryCount, pc::kEntryCountWidth, pc::kEntries, pc::kEntryWidth,
                     pc::kMaxEntries, Ref::Part});
    static const std::array<Table, 5> tables = {{
        {"spirits", "精神", c::kSpirit, spirit_record::kBase, spirit_record::kSize,
         spirit_record::kCount, spirit},
        {"skills", "特殊技能", c::kSkill, skill_record::kBase, skill_record::kSize,
         skill_record::kCount, skill},
        {"skill-classes", "特殊技能分類", c::kSkillClass, skill_class_record::kBase,
         skill_class_record::kSize, skill_class_record::kCount, skillClass},
        {"parts", "強化パーツ", c::kParts, part_record::kBase, part_record::kSize,
         part_record::kCount, part},
        {"part-classes", "強化パーツ分類", c::kPartsClass, part_class_record::kBase,
         part_class_record::kSize, part_class_record::kCount, partClass},
    }};
    return tables;
}

}  // namespace tsumugi::layout::detail

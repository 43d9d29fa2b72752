// The fixed-record tables in the editors' words: which fields own a byte, each record's
// name as the editor's list shows it, and each value as its control shows it.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <span>
#include <string>

#include "core/bytes.h"
#include "core/change_explain_detail.h"
#include "core/layout/abilities.h"
#include "core/layout/bonuses.h"
#include "core/layout/descriptor.h"
#include "core/layout/pilots.h"
#include "core/layout/units.h"
#include "core/regions.h"

namespace tsumugi::explain {
namespace {

using layout::Field;
using layout::FieldKind;
using layout::Ref;
using layout::Table;

// The class tabs, which name the records of the two classification tables.
constexpr const char* kSkillClasses[] = {"攻撃系", "防御系", "補助系", "気力系", "特殊系"};
constexpr const char* kPartClasses[] = {"機体", "武器", "消費", "特殊"};

// The editors' none items: the weapon's direction list calls it "無効(0xFF)"; the others
// name the value the none item stores.
std::string NoneText(const Table& table, const Field& field) {
    if (std::strcmp(table.name, "weapons") == 0 && std::strcmp(field.label, "方向") == 0) return "無効(0xFF)";
    return field.width == 1 ? "無し(0xFF)" : "無し(0xFFFF)";
}

// A Choice or Reference value as its drop-down list shows it; a value the list lacks as
// its number.
std::string ItemText(const Image& image, const Table& table, const Field& field, uint32_t value) {
    const std::string_view name = table.name;
    // The bonus editors also show the none item for the value one past their list.
    const bool countShowsNone = field.kind == FieldKind::Reference &&
                                (name == "ace-bonuses" || name == "full-bonuses" || name == "trusts");
    if (field.none >= 0 && (value == static_cast<uint32_t>(field.none) ||
                            (countShowsNone && value == static_cast<uint32_t>(layout::CountOf(field.refers))))) {
        return NoneText(table, field);
    }
    const std::string text = image.names->Name(field, value);
    // A BGM set is listed by its number and the names of its tracks, if any.
    if (field.refers == Ref::BgmSet && value < static_cast<uint32_t>(layout::CountOf(Ref::BgmSet))) {
        return HexNumber(value, 2) + ": " + text;
    }
    if (text.empty()) return std::to_string(value);
    // Item 0 of a trust effect is the none item.
    if (name == "trusts" && field.kind == FieldKind::Choice && value == 0) return NoneText(table, field);
    return text;
}

std::string ValueText(const Image& image, const Table& table, const Field& field, uint32_t recordAt) {
    if (!image.Has(recordAt + uint64_t{field.offset}, field.width)) return "";
    const uint8_t* record = image.data + recordAt;
    if (field.kind == FieldKind::Text) {
        // The spirit command's initial: one code, unterminated, 0 for none.
        if (field.width == 2 && Read16(record + field.offset) == 0) return "";
        return TextAt(image, recordAt + field.offset, field.width);
    }
    const uint32_t value = layout::ReadField(field, record);
    switch (field.kind) {
        case FieldKind::Flag:
            return value != 0 ? "✓" : "";
        case FieldKind::Rank: {
            static constexpr const char* kRanks[] = {"S", "A", "B", "C", "D"};
            return value < 5 ? kRanks[value] : std::to_string(value);
        }
        case FieldKind::Choice:
        case FieldKind::Reference:
            return ItemText(image, table, field, value);
        case FieldKind::Number:
            // The skill classes count in a signed 32-bit number.
            if (field.width == 4 && std::strcmp(table.name, "skill-classes") == 0) {
                return std::to_string(static_cast<int32_t>(value));
            }
            return std::to_string(value);
        case FieldKind::Text:
            break;
    }
    return std::to_string(value);
}

std::string RecordName(const Image& after, const Table& table, int record) {
    const std::string_view name = table.name;
    CTextCodec& codec = *after.codec;
    if (name == "units") return NameOf(codec, NameKind::Unit, record);
    if (name == "pilots" || name == "pilot-spirits" || name == "pilot-skills") {
        return NameOf(codec, NameKind::Pilot, record);
    }
    if (name == "weapons") return NameOf(codec, NameKind::Weapon, record);
    if (name == "spirits") return NameOf(codec, NameKind::Spirit, record);
    if (name == "skills") return NameOf(codec, NameKind::Skill, record);
    if (name == "parts") return NameOf(codec, NameKind::Part, record);
    if (name == "ace-bonuses") return NameOf(codec, NameKind::AceBonus, record);
    if (name == "full-bonuses") return NameOf(codec, NameKind::FullBonus, record);
    if (name == "skill-classes" && record < static_cast<int>(std::size(kSkillClasses))) {
        return kSkillClasses[record];
    }
    if (name == "part-classes" && record < static_cast<int>(std::size(kPartClasses))) {
        return kPartClasses[record];
    }
    if (name == "trusts") {
        // Listed under the name of the record's pilot.
        const uint64_t at = table.base + uint64_t{table.size} * static_cast<uint32_t>(record) +
                            layout::trust_record::kPilot;
        if (!after.Has(at, 2)) return "Error";
        const uint16_t pilot = Read16(after.data + at);
        return pilot < layout::pilot_record::kCount ? NameOf(codec, NameKind::Pilot, pilot) : "Error";
    }
    return "";
}

// The bits of byte j of a field's bytes that the field owns.
uint8_t MaskOf(const Field& field, uint32_t j) {
    if (field.kind == FieldKind::Text || field.bits == 0) return 0xFF;
    const uint32_t mask = ((1u << field.bits) - 1) << field.shift;
    return static_cast<uint8_t>(mask >> (8 * j));
}

}  // namespace

void TableTouches(const Image& after, uint32_t b, std::vector<Touch>& out) {
    const std::span<const Table> tables = layout::Tables();
    for (size_t t = 0; t < tables.size(); ++t) {
        const Table& table = tables[t];
        if (b < table.base || b >= table.End()) continue;
        const int record = static_cast<int>((b - table.base) / table.size);
        const uint32_t recordAt = table.base + table.size * static_cast<uint32_t>(record);
        const uint32_t inRecord = b - recordAt;
        std::optional<std::string> recordName;
        for (size_t f = 0; f < table.fields.size(); ++f) {
            const Field& field = table.fields[f];
            if (inRecord < field.offset || inRecord >= field.offset + field.width) continue;
            const uint8_t mask = MaskOf(field, inRecord - field.offset);
            if (mask == 0) continue;
            Touch touch;
            touch.key = 'T';
            touch.key += std::to_string(t);
            touch.key += '/';
            touch.key += std::to_string(record);
            touch.key += '/';
            touch.key += std::to_string(f);
            touch.category = table.category;
            touch.table = table.label;
            touch.record = record;
            if (!recordName) recordName = RecordName(after, table, record);
            touch.recordName = *recordName;
            touch.field = field.label;
            touch.mask = mask;
            touch.render = [&table, &field, recordAt](const Image& image) {
                return ValueText(image, table, field, recordAt);
            };
            out.push_back(std::move(touch));
        }
    }
}

}  // namespace tsumugi::explain

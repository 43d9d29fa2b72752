#pragma once
// A description of every fixed-record table that code can walk: where the table lies, how
// big its records are, and each field with the label the editor shows. The editors keep
// their own hand-laid windows and store orders; this serves code that treats every table
// alike (export, explaining a patch code, checking the layouts themselves).
#include <cstdint>
#include <span>
#include <string_view>

namespace tsumugi::layout {

enum class FieldKind : uint8_t {
    Number,     // an unsigned number (or bit field) up to max
    Choice,     // an item of a fixed list, 0 .. max, optionally a none value
    Flag,       // a check box: one bit, ticked when set; or a whole byte (bits 0), ticked
                // when non-zero and written as 1 or 0
    Rank,       // a 4-bit terrain rank, 0-4 for "S" .. "D"
    Text,       // game text in a field of width bytes, terminator included
    Reference,  // the number of a record of another table, optionally a none value
};

// What a Reference field counts in.
enum class Ref : uint8_t {
    None, Unit, Pilot, Weapon, Skill, Part, Spirit, AceBonus, FullBonus, BgmSet,
    Personality, WeaponType, SkillType, TrustType,
    FullEffect1, FullEffect2,  // the two effect lists of a full-upgrade bonus
};

struct Field {
    const char* label;             // UTF-8, as the editor shows it
    uint32_t offset;               // first byte in the record
    uint8_t width;                 // bytes the value spans (1, 2 or 4); a text's room
    FieldKind kind = FieldKind::Number;
    uint8_t shift = 0;             // a bit field's first bit within the value
    uint8_t bits = 0;              // a bit field's width in bits; 0 = the whole value
    uint32_t max = 0;              // Number, Choice: highest value (0 = all the bits hold)
    Ref refers = Ref::None;        // Reference: the table counted in
    int64_t none = -1;             // Choice, Reference: the "none" value, -1 when there is none
    std::span<const char* const> items = {};  // Choice: the texts of 0, 1, ... (UTF-8); none
                                              // when the number is the text
};

struct Table {
    const char* name;  // short ASCII name, as the command line knows it
    const char* label; // UTF-8, as the category list shows it
    int category;      // the category whose regions hold the table
    uint32_t base;
    uint32_t size;     // bytes per record
    int count;         // records
    std::span<const Field> fields;

    uint32_t End() const { return base + size * static_cast<uint32_t>(count); }
};

// Every fixed-record table.
std::span<const Table> Tables();
// The table of that name, or null.
const Table* FindTable(std::string_view name);

// The highest value a field may hold: max, or what its bits (or bytes) hold.
uint32_t MaxOf(const Field& field);
// The field's value in a record (record points at its first byte); a text gives 0.
uint32_t ReadField(const Field& field, const uint8_t* record);
// Sets the field's bits in a record, leaving every other bit of its bytes alone.
void WriteField(const Field& field, uint8_t* record, uint32_t value);

// The number of records a Reference counts in (the "none" value aside).
int CountOf(Ref ref);

namespace detail {
// The tables of each family, defined beside each other.
std::span<const Table> UnitTables();
std::span<const Table> AbilityTables();
std::span<const Table> BonusTables();
}  // namespace detail

}  // namespace tsumugi::layout

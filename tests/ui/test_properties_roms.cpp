// Seeded ROMs for the property tests: random bytes over a category's data, or random values
// its editor shows as they are.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "core/demo_image.h"
#include "core/bytes.h"
#include "core/layout/battle.h"
#include "core/layout/descriptor.h"
#include "core/layout/scenario.h"
#include "core/random_bytes.h"
#include "core/regions.h"
#include "demo/rom.h"
#include "test_properties.h"

namespace testing_ui {
namespace {

using tsumugi::test::RandomBytes;
namespace layout = tsumugi::layout;

const std::vector<uint8_t>& Demo() {
    return tsumugi::testing::DemoImage();
}

// Random bytes over [at, at + length), cut at the end of the image.
void Overlay(std::vector<uint8_t>& rom, uint64_t at, uint32_t length, RandomBytes& r) {
    for (uint64_t i = at; i < at + length && i < rom.size(); ++i) rom[i] = r.Byte();
}

void Put32(std::vector<uint8_t>& rom, uint64_t at, uint32_t value) {
    if (at + 4 <= rom.size()) tsumugi::Write32(rom.data() + at, value);
}

uint32_t Get32(const std::vector<uint8_t>& rom, uint64_t at) {
    return at + 4 <= rom.size() ? tsumugi::Read32(rom.data() + at) : 0;
}

// The file offset a bus address names, or nothing for a pointer that leads nowhere in rom.
std::optional<uint32_t> Target(const std::vector<uint8_t>& rom, uint32_t pointer) {
    if (!tsumugi::IsBusAddress(pointer)) return std::nullopt;
    const uint32_t offset = pointer - tsumugi::kBusBase;
    if (offset >= rom.size()) return std::nullopt;
    return offset;
}

// A pointer worth trying: null, past the image, into the middle of something, or noise.
uint32_t OddPointer(const std::vector<uint8_t>& rom, RandomBytes& r) {
    const auto size = static_cast<uint32_t>(rom.size());
    switch (r.Below(5)) {
        case 0: return 0;
        case 1: return tsumugi::kBusBase + size - r.Below(24);
        case 2: return tsumugi::kBusBase + size + r.Below(0x100);
        case 3: return tsumugi::kBusBase + r.Below(size);
        default: return r.Next();
    }
}

void MutateTable(std::vector<uint8_t>& rom, const layout::Table& table, RandomBytes& r) {
    for (int k = 0; k < 10; ++k) {
        const uint32_t record = table.base + table.size * r.Below(static_cast<uint32_t>(table.count));
        const layout::Field& field = table.fields[r.Below(table.fields.size())];
        switch (r.Below(4)) {
            case 0:
                Overlay(rom, record, table.size, r);
                break;
            case 1:
                Overlay(rom, record + field.offset, field.width, r);
                break;
            case 2:
                // Edge values: all bits set or all clear.
                std::fill_n(rom.begin() + record + field.offset, field.width, r.OneIn(2) ? 0xFF : 0x00);
                break;
            default:
                rom[record + r.Below(table.size)] = r.Byte();
                break;
        }
    }
}

void MutateScenario(std::vector<uint8_t>& rom, RandomBytes& r) {
    namespace pt = layout::chapter_pointer_table;
    namespace dr = layout::deploy_record;
    namespace mr = layout::message_record;
    for (int k = 0; k < 12; ++k) {
        const uint32_t entry = pt::kBase + pt::kEntrySize * r.Below(pt::kCount);
        const std::optional<uint32_t> deploy = Target(rom, Get32(rom, entry + pt::kDeployList));
        const std::optional<uint32_t> messages = Target(rom, Get32(rom, entry + pt::kMessageTable));
        const uint32_t nth = r.Below(6);
        switch (r.Below(7)) {
            case 0:
                Put32(rom, entry + (r.OneIn(2) ? pt::kDeployList : pt::kMessageTable), OddPointer(rom, r));
                break;
            case 1:
                if (deploy) Overlay(rom, *deploy + dr::kSize * nth, dr::kSize, r);
                break;
            case 2:
                if (deploy) Overlay(rom, *deploy + dr::kSize * nth + r.Below(dr::kSize), 1 + r.Below(3), r);
                break;
            case 3:
                if (messages) Overlay(rom, *messages + mr::kSize * nth, mr::kText, r);
                break;
            case 4:
                if (messages) Put32(rom, *messages + mr::kSize * nth + mr::kText, OddPointer(rom, r));
                break;
            case 5:
                if (messages) {
                    const std::optional<uint32_t> text = Target(rom, Get32(rom, *messages + mr::kSize * nth + mr::kText));
                    if (text) Overlay(rom, *text + r.Below(8), 1 + r.Below(12), r);
                }
                break;
            default:
                // A list that loses its end runs on into whatever follows it.
                if (messages) Overlay(rom, *messages + mr::kSize * nth, 2, r);
                break;
        }
    }
}

void MutateBattle(std::vector<uint8_t>& rom, RandomBytes& r) {
    namespace bt = layout::battle_tables;
    namespace bh = layout::battle_header;
    namespace bl = layout::battle_line_record;
    for (int k = 0; k < 12; ++k) {
        const uint32_t entry = bt::kPointerTable + 4 * r.Below(bt::kPilotCount);
        const std::optional<uint32_t> header = Target(rom, Get32(rom, entry));
        const std::optional<uint32_t> lines = header ? Target(rom, Get32(rom, *header + bh::kLineTable)) : std::nullopt;
        const std::optional<uint32_t> texts = header ? Target(rom, Get32(rom, *header + bh::kTextBase)) : std::nullopt;
        switch (r.Below(6)) {
            case 0:
                Put32(rom, entry, OddPointer(rom, r));
                break;
            case 1:
                if (header) {
                    const uint32_t fields[] = {bh::kTextBase, bh::kLineTable, bh::kTextEnd};
                    Put32(rom, *header + fields[r.Below(3)], OddPointer(rom, r));
                }
                break;
            case 2:
                if (header) Overlay(rom, *header + r.Below(bh::kSize), 1 + r.Below(4), r);
                break;
            case 3:
                if (lines) Overlay(rom, *lines + bl::kSize * r.Below(4), bl::kSize, r);
                break;
            case 4:
                if (lines) Overlay(rom, *lines + bl::kSize * r.Below(4) + bl::kTextOffset, 2, r);
                break;
            default:
                if (texts) Overlay(rom, *texts + r.Below(16), 1 + r.Below(12), r);
                break;
        }
    }
}

const layout::Table* TableOf(int category) {
    for (const layout::Table& table : layout::Tables())
        if (table.category == category) return &table;
    return nullptr;
}

// A value the editor of field shows as it is.
uint32_t ShownValue(const layout::Field& field, RandomBytes& r) {
    switch (field.kind) {
        case layout::FieldKind::Flag:
            return r.Below(2);
        case layout::FieldKind::Rank:
            return r.Below(5);
        case layout::FieldKind::Choice:
            if (field.none >= 0 && r.OneIn(4)) return static_cast<uint32_t>(field.none);
            // A trust effect of 0 shows as "none" and is stored as none: 1 up is what shows.
            if (std::string_view(field.label).ends_with("効果")) return 1 + r.Below(field.max);
            return r.Below(uint64_t{field.max} + 1);
        case layout::FieldKind::Reference: {
            if (field.none >= 0 && r.OneIn(4)) return static_cast<uint32_t>(field.none);
            const auto items = static_cast<uint32_t>(layout::CountOf(field.refers));
            return items > 0 ? r.Below(items) : ReadField(field, Demo().data());
        }
        default:
            return static_cast<uint32_t>(r.Below(uint64_t{layout::MaxOf(field)} + 1));
    }
}

}  // namespace

std::vector<uint8_t> MutatedRom(int category, uint32_t seed) {
    std::vector<uint8_t> rom = Demo();
    RandomBytes r(seed * 7919u + static_cast<uint32_t>(category));
    if (const layout::Table* table = TableOf(category)) {
        MutateTable(rom, *table, r);
    } else if (category == tsumugi::category::kScenario) {
        MutateScenario(rom, r);
    } else if (category == tsumugi::category::kBattleLine) {
        MutateBattle(rom, r);
    }
    if (seed % 3 == 2) {
        const size_t old = rom.size();
        rom.resize(old + 0x101 + 2 * r.Below(0x80));
        Overlay(rom, old, static_cast<uint32_t>(rom.size() - old), r);
    }
    return rom;
}

std::vector<uint8_t> InDomainRom(int category, uint32_t seed) {
    std::vector<uint8_t> rom = Demo();
    const layout::Table* table = TableOf(category);
    if (table == nullptr) return rom;
    RandomBytes r(seed * 104729u + static_cast<uint32_t>(category));
    for (int k = 0; k < 12; ++k) {
        uint8_t* record = rom.data() + table->base + table->size * r.Below(static_cast<uint32_t>(table->count));
        // A class list holds record numbers up to its count, the rest of its slots 0.
        const bool classList = table->fields.front().label == std::string_view("件数");
        const uint32_t used = classList ? ReadField(table->fields.front(), record) : 0;
        for (size_t f = classList ? 1 : 0; f < table->fields.size(); ++f) {
            const layout::Field& field = table->fields[f];
            if (field.kind == layout::FieldKind::Text || r.OneIn(2)) continue;
            if (classList && f > used) continue;
            WriteField(field, record, ShownValue(field, r));
        }
    }
    return rom;
}

}  // namespace testing_ui

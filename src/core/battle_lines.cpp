#include "core/battle_lines.h"

#include <algorithm>

#include "core/bytes.h"
#include "core/layout/battle.h"

namespace tsumugi {
namespace {

using namespace tsumugi::layout;

constexpr uint32_t kPointerSpan = 0x02000000;

bool Inside(uint64_t offset, uint64_t length, uint32_t romSize) { return offset + length <= romSize; }

// The valid pointer stored at offset, when its four bytes lie inside the image.
std::optional<uint32_t> PointerAt(const uint8_t* rom, uint32_t romSize, uint64_t offset) {
    if (rom == nullptr || !Inside(offset, 4, romSize)) return std::nullopt;
    return BattlePointerOffset(Read32(rom + offset));
}

std::optional<uint32_t> HeaderOf(const uint8_t* rom, uint32_t romSize, int pilot) {
    if (pilot < 0 || pilot >= battle_tables::kPilotCount) return std::nullopt;
    return PointerAt(rom, romSize, battle_tables::kPointerTable + 4 * static_cast<uint32_t>(pilot));
}

}  // namespace

std::optional<uint32_t> BattlePointerOffset(uint32_t pointer) {
    const uint32_t offset = pointer - kBusBase;
    if (offset >= kPointerSpan) return std::nullopt;
    return offset;
}

std::optional<uint32_t> LineTableOf(const uint8_t* rom, uint32_t romSize, int pilot) {
    const std::optional<uint32_t> header = HeaderOf(rom, romSize, pilot);
    if (!header) return std::nullopt;
    return PointerAt(rom, romSize, uint64_t{*header} + battle_header::kLineTable);
}

uint32_t LineTableEnd(const uint8_t* rom, uint32_t romSize, uint32_t lineTable) {
    uint32_t end = battle_tables::kPointerTable;
    bool found = false;
    for (int p = 0; p < battle_tables::kPilotCount; ++p) {
        const std::optional<uint32_t> table = LineTableOf(rom, romSize, p);
        if (table && *table > lineTable && (!found || *table < end)) {
            end = *table;
            found = true;
        }
    }
    return end;
}

std::optional<uint32_t> TextRoom(uint16_t blockLength, std::span<const uint16_t> offsets, uint16_t own) {
    uint16_t end = blockLength;
    for (const uint16_t o : offsets) {
        if (o > own && o < end) end = o;
    }
    if (own >= end) return std::nullopt;
    const uint32_t room = static_cast<uint32_t>(end - own);
    if (room >= 256) return std::nullopt;
    return room;
}

BattlePilot ReadBattlePilot(const uint8_t* rom, uint32_t romSize, int pilot) {
    BattlePilot out;
    if (rom == nullptr || pilot < 0 || pilot >= battle_tables::kPilotCount) {
        out.fault = BattleFault::PastImage;
        return out;
    }
    const uint32_t entry = battle_tables::kPointerTable + 4 * static_cast<uint32_t>(pilot);
    if (!Inside(entry, 4, romSize)) {
        out.fault = BattleFault::PastImage;
        return out;
    }
    const std::optional<uint32_t> header = BattlePointerOffset(Read32(rom + entry));
    if (!header) {
        out.fault = BattleFault::BadPointer;
        return out;
    }
    if (!Inside(*header, battle_header::kSize, romSize)) {
        out.fault = BattleFault::PastImage;
        return out;
    }
    const uint8_t* h = rom + *header;
    const std::optional<uint32_t> base = BattlePointerOffset(Read32(h + battle_header::kTextBase));
    const std::optional<uint32_t> table = BattlePointerOffset(Read32(h + battle_header::kLineTable));
    const std::optional<uint32_t> end = BattlePointerOffset(Read32(h + battle_header::kTextEnd));
    if (!base || !table || !end) {
        out.fault = BattleFault::BadPointer;
        return out;
    }
    out.textBase = *base;
    out.lineTable = *table;
    out.textEnd = *end;

    // Every record that starts before the table's end is a line.
    const uint32_t tableEnd = LineTableEnd(rom, romSize, *table);
    const uint32_t size = battle_line_record::kSize;
    uint32_t count = tableEnd > *table ? (tableEnd - *table + size - 1) / size : 0;
    if (count > kMaxBattleLines) {
        count = kMaxBattleLines;
        out.capped = true;
    }
    if (!Inside(*table, uint64_t{count} * size, romSize)) {
        out.fault = BattleFault::PastImage;
        return out;
    }
    for (uint32_t j = 0; j < count; ++j) {
        const uint8_t* record = rom + *table + size * j;
        if (uint64_t{*base} + Read16(record + battle_line_record::kTextOffset) >= romSize) {
            out.fault = BattleFault::PastImage;
            return out;
        }
    }
    out.lineCount = static_cast<int>(count);
    return out;
}

std::vector<uint16_t> TextOffsets(const uint8_t* rom, const BattlePilot& pilot) {
    std::vector<uint16_t> offsets;
    offsets.reserve(static_cast<size_t>(pilot.lineCount));
    for (int j = 0; j < pilot.lineCount; ++j)
        offsets.push_back(Read16(rom + pilot.Record(j) + battle_line_record::kTextOffset));
    return offsets;
}

uint32_t LineText(const uint8_t* rom, const BattlePilot& pilot, int line) {
    return pilot.textBase + Read16(rom + pilot.Record(line) + battle_line_record::kTextOffset);
}

std::optional<uint32_t> LineRoom(const uint8_t* rom, const BattlePilot& pilot, int line) {
    if (line < 0 || line >= pilot.lineCount) return std::nullopt;
    const std::vector<uint16_t> offsets = TextOffsets(rom, pilot);
    const auto blockLength = static_cast<uint16_t>(pilot.textEnd - pilot.textBase);
    return TextRoom(blockLength, offsets, offsets[static_cast<size_t>(line)]);
}

std::vector<std::optional<uint32_t>> LineRooms(const uint8_t* rom, const BattlePilot& pilot) {
    const std::vector<uint16_t> offsets = TextOffsets(rom, pilot);
    std::vector<uint16_t> starts = offsets;
    std::sort(starts.begin(), starts.end());
    const auto blockLength = static_cast<uint16_t>(pilot.textEnd - pilot.textBase);
    std::vector<std::optional<uint32_t>> rooms;
    rooms.reserve(offsets.size());
    for (const uint16_t own : offsets) {
        // Of all the starts, only the smallest one above own can end its room.
        const auto next = std::upper_bound(starts.begin(), starts.end(), own);
        rooms.push_back(TextRoom(blockLength, std::span<const uint16_t>(next, next == starts.end() ? 0 : 1), own));
    }
    return rooms;
}

}  // namespace tsumugi

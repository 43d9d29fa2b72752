#pragma once
// The battle dialogue as the game reaches it: the pilot pointer table, one header per
// pilot, the pilots' line tables and the room each line's text has before the next one.
// Every pointer is checked before anything is read through it, and nothing is read past
// the image.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tsumugi {

// A battle dialogue pointer as a ROM offset: valid when the value less the bus base,
// taken as an unsigned number, lies below 32 MiB.
std::optional<uint32_t> BattlePointerOffset(uint32_t pointer);

// The line-table offset in pilot's header, when the pointer-table entry and the header
// field lie inside the image and both pointers are valid.
std::optional<uint32_t> LineTableOf(const uint8_t* rom, uint32_t romSize, int pilot);

// Where the line table at lineTable ends: at the smallest line-table offset of all the
// pilots' headers that is greater than its own, or at the pointer table when none is.
// Headers that cannot be read are left out.
uint32_t LineTableEnd(const uint8_t* rom, uint32_t romSize, uint32_t lineTable);

// The room of the text at offset own from the text base: up to the smallest of offsets
// greater than own, or up to blockLength (the text block's length kept to 16 bits).
// Nothing when own is not below that end or the room is 256 bytes or more: such a text
// is never stored.
std::optional<uint32_t> TextRoom(uint16_t blockLength, std::span<const uint16_t> offsets, uint16_t own);

enum class BattleFault {
    None,
    BadPointer,  // a pointer of the pilot is not valid
    PastImage,   // the header, the line table or a text lies past the image's end
};

// Text offsets are 16-bit, so no pilot has more lines than this: a damaged header whose
// table seems to run on further is read this far only.
constexpr uint32_t kMaxBattleLines = 0x10000;

// One pilot's lines: where its texts start and end and where its line table lies.
struct BattlePilot {
    BattleFault fault = BattleFault::None;
    uint32_t textBase = 0;
    uint32_t lineTable = 0;
    uint32_t textEnd = 0;
    int lineCount = 0;  // 0 on a fault
    bool capped = false;  // the table reached further than kMaxBattleLines lines

    uint32_t Record(int line) const { return lineTable + 4 * static_cast<uint32_t>(line); }
};

// Reads pilot's header and finds its lines: every record, and the start of every text,
// lies inside the image, or the pilot has a fault and no lines.
BattlePilot ReadBattlePilot(const uint8_t* rom, uint32_t romSize, int pilot);

// The text offsets of the pilot's lines, in line order.
std::vector<uint16_t> TextOffsets(const uint8_t* rom, const BattlePilot& pilot);

// The ROM offset of a line's text (line below lineCount) and its room (nothing: the text
// is never stored).
uint32_t LineText(const uint8_t* rom, const BattlePilot& pilot, int line);
std::optional<uint32_t> LineRoom(const uint8_t* rom, const BattlePilot& pilot, int line);
// The rooms of all the pilot's lines in line order, as LineRoom gives them, found at once.
std::vector<std::optional<uint32_t>> LineRooms(const uint8_t* rom, const BattlePilot& pilot);

}  // namespace tsumugi

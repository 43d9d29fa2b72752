#pragma once
// Where a field lies, in words a user reads: its offset in the record, its bus address in
// one record, its width and the values it takes. Tooltips and anything else that explains
// a field read it from the descriptors through here.
#include <cstdint>
#include <optional>
#include <string>

#include "core/layout/descriptor.h"

namespace tsumugi::layout {

// "+0x0C (0x080C38D0), 16ビット, 0～65535" for a number; "+0x1A (0x080C38DE) ビット3" for one
// bit; "+0x12 (0x080C38D6) ビット12～15, S～D" for a terrain rank; "+0x00 (0x080C38C4),
// 17バイト" for a text. Without a record in the table (record < 0 or past its count) the
// bus address is left out.
std::string FieldPlace(const Table& table, const Field& field, int record);
// The same for a record that lies wherever a pointer leads: at file offset record, when
// known.
std::string FieldPlace(const Field& field, std::optional<uint32_t> record);
// A text a pointer field of the record at file offset record reaches:
// "+0x08 (0x0827B0C4) → 0x08300010, 64バイト", with the room it may fill when known.
std::string PointedTextPlace(const Field& pointer, uint32_t record, uint32_t text, std::optional<uint32_t> room);

}  // namespace tsumugi::layout

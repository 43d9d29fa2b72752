#pragma once
// The BGM set table: 64 entries of 12 bytes at 0xC0CE0, each naming up to five tracks by
// BGM number (0 = no track; bytes 10-11 are not read). Units and pilots pick a set by
// its number; their combos show one item per set.
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/layout/pilots.h"

namespace tsumugi {
class CTextCodec;
}

namespace editors {

struct BgmSetRecord {
    std::array<uint16_t, tsumugi::layout::bgm_table::kTracks> bgm{};
};

// Entry k, or nothing when k is out of range or the entry lies past the ROM's end.
std::optional<BgmSetRecord> ReadBgmSet(const uint8_t* rom, uint32_t romSize, int k);

// "%02X: " and the names of the set's tracks joined by " & " (empty slots and empty
// names skipped), full-width letters and digits narrowed; cp932.
std::string BgmSetItemText(tsumugi::CTextCodec& codec, int k);

// The 64 items of a BGM set combo, for display.
QStringList BgmSetItems(tsumugi::CTextCodec& codec);

}  // namespace editors

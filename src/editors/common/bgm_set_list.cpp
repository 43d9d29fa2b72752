#include "editors/common/bgm_set_list.h"

#include <cstdio>

#include "core/bytes.h"
#include "core/narrow_full_width.h"
#include "core/text_codec.h"
#include "ui/text.h"

namespace editors {

namespace bgm_table = tsumugi::layout::bgm_table;

std::optional<BgmSetRecord> ReadBgmSet(const uint8_t* rom, uint32_t romSize, int k) {
    if (rom == nullptr || k < 0 || k >= bgm_table::kSetCount) return std::nullopt;
    const uint32_t start = bgm_table::kSets + bgm_table::kSetSize * static_cast<uint32_t>(k);
    if (start + bgm_table::kSetSize > romSize) return std::nullopt;
    BgmSetRecord record;
    for (int slot = 0; slot < bgm_table::kTracks; ++slot) {
        record.bgm[slot] = tsumugi::Read16(rom + start + 2 * slot);
    }
    return record;
}

std::string BgmSetItemText(tsumugi::CTextCodec& codec, int k) {
    char number[8];
    std::snprintf(number, sizeof number, "%02X: ", static_cast<unsigned>(k) & 0xFF);
    std::string text = number;
    const std::optional<BgmSetRecord> set = ReadBgmSet(codec.m_pRom, codec.m_nRomSize, k);
    bool first = true;
    for (uint16_t bgm : set ? set->bgm : BgmSetRecord{}.bgm) {
        if (bgm == 0) continue;
        std::string name;
        codec.GetBgmName(bgm, name);
        if (name.empty()) continue;
        if (!first) text += " & ";
        text += name;
        first = false;
    }
    return tsumugi::NarrowFullWidth(text);
}

QStringList BgmSetItems(tsumugi::CTextCodec& codec) {
    QStringList items;
    for (int k = 0; k < bgm_table::kSetCount; ++k) items << ui::FromCp932(BgmSetItemText(codec, k));
    return items;
}

}  // namespace editors

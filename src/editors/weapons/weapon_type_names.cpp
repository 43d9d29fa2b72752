#include "editors/weapons/weapon_type_names.h"

#include <algorithm>
#include <cstdint>

#include "core/layout/units.h"
#include "core/text_codec.h"

namespace editors {
namespace {

namespace type_names = tsumugi::layout::weapon_type_names;

bool IsTerminator(uint8_t b) { return b == 0xFF || b == 0x00; }

}  // namespace

std::vector<std::string> ReadWeaponTypeNames(tsumugi::CTextCodec& codec) {
    std::vector<std::string> names;
    uint64_t at = type_names::kBase;
    for (int n = 0; n < type_names::kCount; ++n) {
        if (codec.m_pRom == nullptr || at >= codec.m_nRomSize) break;
        const uint8_t* start = codec.m_pRom + at;
        const uint8_t* end = start + std::min<uint64_t>(type_names::kMaxField, codec.m_nRomSize - at);
        const uint8_t* terminator = std::find_if(start, end, IsTerminator);
        if (terminator == end) break;
        // A pair that ends the name reads the terminator as its second byte, never more.
        const auto length = static_cast<int>(terminator - start);
        std::string text;
        codec.Decode(text, start, length);
        names.push_back(std::move(text));
        at = (at + static_cast<uint64_t>(length) + 2) & ~uint64_t{1};
    }
    return names;
}

}  // namespace editors

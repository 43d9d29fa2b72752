#include "core/narrow_full_width.h"

namespace tsumugi {

bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

namespace {

// The ASCII form of a full-width character with lead byte 0x82, or 0 when it has none.
char NarrowOf82(unsigned char trail) {
    if (trail >= 0x4F && trail <= 0x58) return static_cast<char>(trail - 0x1F);  // 0-9
    if (trail >= 0x60 && trail <= 0x79) return static_cast<char>(trail - 0x1F);  // A-Z
    if (trail >= 0x81 && trail <= 0x9A) return static_cast<char>(trail - 0x20);  // a-z
    return 0;
}

}  // namespace

std::string NarrowFullWidth(const std::string& cp932) {
    std::string out;
    out.reserve(cp932.size());
    for (size_t i = 0; i < cp932.size();) {
        const auto lead = static_cast<unsigned char>(cp932[i]);
        if (!IsCp932LeadByte(lead) || i + 1 >= cp932.size()) {
            out.push_back(cp932[i]);
            ++i;
            continue;
        }
        const auto trail = static_cast<unsigned char>(cp932[i + 1]);
        if (lead == 0x81 && trail == 0x40) {
            out.push_back(' ');
        } else if (const char narrow = lead == 0x82 ? NarrowOf82(trail) : 0; narrow != 0) {
            out.push_back(narrow);
        } else {
            out.push_back(cp932[i]);
            out.push_back(cp932[i + 1]);
        }
        i += 2;
    }
    return out;
}

}  // namespace tsumugi

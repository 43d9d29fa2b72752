// cp932 <-> UTF-8 through the generated tables, the same on every platform.
#include "core/cp932.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "core/cp932_tables.h"
#include "core/utf16.h"

namespace tsumugi {
namespace {

enum class Side { Cp932, Utf8 };

// Length of the character starting at text[pos] in the given encoding, as far as its lead
// byte tells and the text holds; at least 1.
size_t CharLength(std::string_view text, size_t pos, Side side) {
    const auto lead = static_cast<uint8_t>(text[pos]);
    size_t length = 1;
    if (side == Side::Cp932) {
        if ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) length = 2;
    } else if (lead >= 0xF0) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = 3;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    return std::min(length, text.size() - pos);
}

bool IsValidUtf8(std::string_view sequence) {
    const auto lead = static_cast<uint8_t>(sequence[0]);
    const size_t expected = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (expected == 0 || sequence.size() != expected) return false;
    for (size_t k = 1; k < sequence.size(); ++k) {
        if ((static_cast<uint8_t>(sequence[k]) & 0xC0) != 0x80) return false;
    }
    return true;
}

std::string HexBytes(std::string_view bytes) {
    std::string out;
    char hex[4];
    for (const char c : bytes) {
        std::snprintf(hex, sizeof hex, "%02X", static_cast<uint8_t>(c));
        if (!out.empty()) out += ' ';
        out += hex;
    }
    return out;
}

// The character of the two-byte code lead:trail, or kNone.
uint16_t PairCharacter(uint8_t lead, uint8_t trail) {
    using namespace cp932_tables;
    if (trail < kFirstTrail || trail > kLastTrail) return kNone;
    const uint8_t* row = std::lower_bound(kLeads, kLeads + kLeadCount, lead);
    if (row == kLeads + kLeadCount || *row != lead) return kNone;
    return kDouble[row - kLeads][trail - kFirstTrail];
}

// The code cp932 writes the character as, or nullopt.
std::optional<uint16_t> EncodeCharacter(char32_t c) {
    using namespace cp932_tables;
    if (c >= kNone) return std::nullopt;
    const CodePair* end = kEncode + kEncodeCount;
    const CodePair* found = std::lower_bound(
        kEncode, end, c, [](const CodePair& pair, char32_t value) { return pair.unicode < value; });
    if (found == end || found->unicode != c) return std::nullopt;
    return found->code;
}

void Fail(Cp932Result& result, std::string_view input, size_t pos, size_t reported, Side side) {
    const std::string_view bad = input.substr(pos, CharLength(input, pos, side));
    result.errorPos = reported;
    result.errorChar = side == Side::Utf8 && IsValidUtf8(bad) ? std::string(bad) : HexBytes(bad);
}

}  // namespace

Cp932Result Cp932ToUtf8(std::string_view cp932) {
    Cp932Result result;
    result.text.reserve(cp932.size() * 3 / 2);
    size_t pos = 0;
    while (pos < cp932.size()) {
        const auto byte = static_cast<uint8_t>(cp932[pos]);
        uint16_t c = cp932_tables::kSingle[byte];
        size_t length = 1;
        if (c == cp932_tables::kNone && pos + 1 < cp932.size()) {
            c = PairCharacter(byte, static_cast<uint8_t>(cp932[pos + 1]));
            length = 2;
        }
        if (c == cp932_tables::kNone) {
            Fail(result, cp932, pos, pos, Side::Cp932);
            return result;
        }
        AppendUtf8(result.text, c);
        pos += length;
    }
    result.ok = true;
    return result;
}

Cp932Result Utf8ToCp932(std::string_view utf8) {
    Cp932Result result;
    result.text.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const auto [c, length] = DecodeUtf8(utf8, pos);
        const std::optional<uint16_t> code = length > 0 ? EncodeCharacter(c) : std::nullopt;
        if (!code) {
            Fail(result, utf8, pos, result.text.size(), Side::Utf8);
            return result;
        }
        if (*code > 0xFF) result.text += static_cast<char>(*code >> 8);
        result.text += static_cast<char>(*code & 0xFF);
        pos += length;
    }
    result.ok = true;
    return result;
}

namespace {

using TwinMap = std::map<uint16_t, std::vector<uint16_t>>;

// Every two-byte code grouped by the character it gives.
TwinMap BuildTwins() {
    using namespace cp932_tables;
    std::map<uint16_t, std::vector<uint16_t>> byCharacter;
    for (size_t row = 0; row < kLeadCount; ++row) {
        for (size_t trail = 0; trail < kTrailCount; ++trail) {
            const uint16_t c = kDouble[row][trail];
            if (c != kNone) byCharacter[c].push_back(static_cast<uint16_t>(kLeads[row] << 8 | (kFirstTrail + trail)));
        }
    }
    TwinMap twins;
    for (const auto& entry : byCharacter) {
        const std::vector<uint16_t>& codes = entry.second;
        if (codes.size() < 2) continue;
        for (const uint16_t code : codes) twins.emplace(code, codes);
    }
    return twins;
}

}  // namespace

std::span<const uint16_t> Cp932Twins(uint16_t code) {
    static const TwinMap twins = BuildTwins();
    const auto found = twins.find(code);
    if (found == twins.end()) return {};
    return found->second;
}

std::string Cp932ToUtf8Escaped(std::string_view cp932) {
    std::string out;
    size_t pos = 0;
    while (pos < cp932.size()) {
        const std::string_view rest = cp932.substr(pos);
        const Cp932Result whole = Cp932ToUtf8(rest);
        if (whole.ok) {
            out += whole.text;
            break;
        }
        const size_t bad = std::min(whole.errorPos, rest.size() - 1);
        const Cp932Result head = Cp932ToUtf8(rest.substr(0, bad));
        if (head.ok) out += head.text;
        static constexpr char kHex[] = "0123456789ABCDEF";
        const auto byte = static_cast<uint8_t>(rest[bad]);
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
        pos += bad + 1;
    }
    return out;
}

}  // namespace tsumugi

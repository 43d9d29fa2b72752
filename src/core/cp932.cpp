// cp932 <-> UTF-8 through glibc iconv. The encoding is named "CP932": the plain Shift-JIS
// converters turn 0x5C into a yen sign and refuse the NEC and IBM extensions.
#include "core/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <vector>

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

Cp932Result Convert(std::string_view input, const char* to, const char* from, Side inputSide) {
    Cp932Result result;
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return result;

    std::string out(input.size() * 3 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    size_t written = 0;
    bool failed = false;
    while (inLeft > 0) {
        char* outPtr = out.data() + written;
        size_t outLeft = out.size() - written;
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        written = static_cast<size_t>(outPtr - out.data());
        if (rc != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        failed = true;  // EILSEQ: no such character or invalid bytes; EINVAL: cut short
        break;
    }
    iconv_close(cd);
    out.resize(written);

    if (failed) {
        const size_t pos = input.size() - inLeft;
        const std::string_view bad = input.substr(pos, CharLength(input, pos, inputSide));
        result.errorPos = inputSide == Side::Cp932 ? pos : written;
        result.errorChar = inputSide == Side::Utf8 && IsValidUtf8(bad) ? std::string(bad) : HexBytes(bad);
    } else {
        result.ok = true;
    }
    result.text = std::move(out);
    return result;
}

using TwinMap = std::map<uint16_t, std::vector<uint16_t>>;

// Every two-byte code through the converter, grouped by the character it gives.
TwinMap BuildTwins() {
    TwinMap twins;
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return twins;
    std::map<std::string, std::vector<uint16_t>> byCharacter;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            char out[8];
            char* inPtr = in;
            size_t inLeft = sizeof in;
            char* outPtr = out;
            size_t outLeft = sizeof out;
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
                iconv(cd, nullptr, nullptr, nullptr, nullptr);  // undefined pair: start afresh
                continue;
            }
            byCharacter[std::string(out, outPtr)].push_back(static_cast<uint16_t>(lead << 8 | trail));
        }
    }
    iconv_close(cd);
    for (const auto& entry : byCharacter) {
        const std::vector<uint16_t>& codes = entry.second;
        if (codes.size() < 2) continue;
        for (const uint16_t code : codes) twins.emplace(code, codes);
    }
    return twins;
}

// Where the first Unicode tag character (U+E0000-U+E007F, F3 A0 80-81 xx) stands, or npos.
// The converter drops these without a word although cp932 has no form for them.
size_t FindTagCharacter(std::string_view utf8) {
    for (size_t at = utf8.find('\xF3'); at != std::string_view::npos; at = utf8.find('\xF3', at + 1)) {
        if (at + 3 < utf8.size() && utf8[at + 1] == '\xA0' && (utf8[at + 2] == '\x80' || utf8[at + 2] == '\x81') &&
            (static_cast<uint8_t>(utf8[at + 3]) & 0xC0) == 0x80) {
            return at;
        }
    }
    return std::string_view::npos;
}

}  // namespace

Cp932Result Cp932ToUtf8(std::string_view cp932) { return Convert(cp932, "UTF-8", "CP932", Side::Cp932); }

Cp932Result Utf8ToCp932(std::string_view utf8) {
    const size_t tag = FindTagCharacter(utf8);
    if (tag == std::string_view::npos) return Convert(utf8, "CP932", "UTF-8", Side::Utf8);
    // A tag character fails like any character cp932 cannot hold, unless the text before
    // it already fails.
    Cp932Result result = Convert(utf8.substr(0, tag), "CP932", "UTF-8", Side::Utf8);
    if (!result.ok) return result;
    result.ok = false;
    result.errorPos = result.text.size();
    result.errorChar = std::string(utf8.substr(tag, 4));
    return result;
}

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

// The demo's character table: which game code stands for which cp932 character, written
// out as string.txt. Built from cp932 ranges so that the same table comes out every time.
//
// One-byte codes: 0x00 the full-width space, 0x01-0x0A the digits, then the hiragana, the
// katakana and the twelve commonest punctuation marks up to 0xBF. Two-byte codes, lead
// byte 0xC0 onwards and trail bytes 0x01-0xFC: the full-width letters, the other symbols
// of the first row, Greek, circled numbers and Roman numerals, and the level-1 kanji.
#include <cstdio>
#include <map>

#include "core/cp932.h"
#include "demo/data.h"
#include "demo/rom.h"

namespace tsumugi::demo {
namespace detail {
namespace {

constexpr uint16_t kFullWidthSpace = 0x8140;
constexpr uint16_t kPunctuation[] = {
    0x8141, 0x8142, 0x8145, 0x815B, 0x8149, 0x8148,  // 、 。 ・ ー ！ ？
    0x8175, 0x8176, 0x8169, 0x816A, 0x8163, 0x8160,  // 「 」 （ ） … ～
};
constexpr uint8_t kFirstLead = 0xC0, kFirstTrail = 0x01, kLastTrail = 0xFC;
constexpr uint8_t kCarriageReturn = 0x0D, kLineFeed = 0x0A, kNewlineCode = 0xFE;

bool IsCp932Trail(uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

bool IsCp932Lead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Every valid character from..to (inclusive, cp932 values), in cp932 order.
void AddRange(std::vector<uint16_t>& out, uint16_t from, uint16_t to) {
    for (uint32_t c = from; c <= to; ++c) {
        if (IsCp932Trail(static_cast<uint8_t>(c))) out.push_back(static_cast<uint16_t>(c));
    }
}

bool IsPunctuation(uint16_t c) {
    for (const uint16_t p : kPunctuation) {
        if (p == c) return true;
    }
    return false;
}

std::vector<uint16_t> OneByteCharacters() {
    std::vector<uint16_t> chars{kFullWidthSpace};
    AddRange(chars, 0x824F, 0x8258);  // ０-９
    AddRange(chars, 0x829F, 0x82F1);  // ぁ-ん
    AddRange(chars, 0x8340, 0x8396);  // ァ-ヶ
    chars.insert(chars.end(), std::begin(kPunctuation), std::end(kPunctuation));
    return chars;
}

std::vector<uint16_t> TwoByteCharacters() {
    std::vector<uint16_t> chars;
    AddRange(chars, 0x8260, 0x8279);  // Ａ-Ｚ
    AddRange(chars, 0x8281, 0x829A);  // ａ-ｚ
    std::vector<uint16_t> symbols;
    AddRange(symbols, 0x8141, 0x81AC);
    for (const uint16_t c : symbols) {
        if (!IsPunctuation(c)) chars.push_back(c);
    }
    AddRange(chars, 0x839F, 0x83B6);                    // Α-Ω
    AddRange(chars, 0x83BF, 0x83D6);                    // α-ω
    AddRange(chars, 0x8740, 0x875D);                    // ①-⑳, Ⅰ-Ⅹ
    for (uint32_t lead = 0x88; lead <= 0x98; ++lead) {  // level-1 kanji 0x889F-0x9872
        const uint16_t first = lead == 0x88 ? 0x9F : 0x40;
        const uint16_t last = lead == 0x98 ? 0x72 : 0xFC;
        AddRange(chars, static_cast<uint16_t>(lead << 8 | first),
                 static_cast<uint16_t>(lead << 8 | last));
    }
    return chars;
}

std::vector<std::pair<uint16_t, uint16_t>> BuildEntries() {
    std::vector<std::pair<uint16_t, uint16_t>> entries;
    uint16_t code = 0;
    for (const uint16_t c : OneByteCharacters()) entries.emplace_back(code++, c);
    size_t n = 0;
    constexpr size_t kPerLead = kLastTrail - kFirstTrail + 1;
    for (const uint16_t c : TwoByteCharacters()) {
        const auto lead = static_cast<uint8_t>(kFirstLead + n / kPerLead);
        const auto trail = static_cast<uint8_t>(kFirstTrail + n % kPerLead);
        entries.emplace_back(static_cast<uint16_t>(lead | trail << 8), c);
        ++n;
    }
    return entries;
}

// cp932 character (first byte high) -> game key.
const std::map<uint16_t, uint16_t>& CharToCode() {
    static const std::map<uint16_t, uint16_t> map = [] {
        std::map<uint16_t, uint16_t> m;
        for (const auto& [code, ch] : TableEntries()) m.emplace(ch, code);
        return m;
    }();
    return map;
}

}  // namespace

const std::vector<std::pair<uint16_t, uint16_t>>& TableEntries() {
    static const std::vector<std::pair<uint16_t, uint16_t>> entries = BuildEntries();
    return entries;
}

std::vector<uint8_t> EncodeCodes(std::string_view cp932, size_t* missing) {
    std::vector<uint8_t> out;
    const std::map<uint16_t, uint16_t>& map = CharToCode();
    size_t i = 0;
    while (i < cp932.size()) {
        const auto b = static_cast<uint8_t>(cp932[i]);
        if (b == kCarriageReturn && i + 1 < cp932.size() &&
            static_cast<uint8_t>(cp932[i + 1]) == kLineFeed) {
            out.push_back(kNewlineCode);
            i += 2;
            continue;
        }
        if (!IsCp932Lead(b) || i + 1 >= cp932.size()) {
            if (missing) ++*missing;
            ++i;
            continue;
        }
        const auto ch = static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(cp932[i + 1]));
        i += 2;
        const auto found = map.find(ch);
        if (found == map.end()) {
            if (missing) ++*missing;
            continue;
        }
        const uint16_t code = found->second;
        out.push_back(static_cast<uint8_t>(code));
        if (code >= kFirstLead) out.push_back(static_cast<uint8_t>(code >> 8));
    }
    return out;
}

std::string Sj(std::string_view utf8) {
    Cp932Result result = Utf8ToCp932(utf8);
    return result.ok ? std::move(result.text) : std::string();
}

}  // namespace detail

std::string StringTable() {
    std::string out;
    char line[16];
    for (const auto& [code, ch] : detail::TableEntries()) {
        if (code < detail::kFirstLead) {
            std::snprintf(line, sizeof line, "%02X,", code);
        } else {
            std::snprintf(line, sizeof line, "%02X %02X,", code & 0xFF, code >> 8);
        }
        out += line;
        out += static_cast<char>(ch >> 8);
        out += static_cast<char>(ch & 0xFF);
        out += "\r\n";
    }
    return out;
}

std::vector<uint8_t> EncodeText(const std::string& cp932) {
    std::vector<uint8_t> bytes = detail::EncodeCodes(cp932);
    bytes.push_back(0xFF);
    return bytes;
}

}  // namespace tsumugi::demo

#pragma once
// Plain models of the rules the core follows (hexadecimal fields, addresses, the code-file
// grammar, the character-table grammar) and random game bytes, for the randomized tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <vector>

#include "core/address.h"
#include "core/bytes.h"
#include "core/char_table.h"
#include "core/cp932.h"
#include "demo/rom.h"
#include "core/file_patcher.h"
#include "core/name_list.h"
#include "core/patch_code.h"
#include "core/settings.h"
#include "core/text_codec.h"
#include "core/workspace.h"
#include "random_bytes.h"
#include "table_fixture.h"
#include "temp_dir.h"

namespace tsumugi::test {

using namespace std::string_view_literals;
using tsumugi::testing::ReadBytes;
using tsumugi::testing::TempDir;
using tsumugi::testing::TitledRom;
using CodeMap = PatchCodeList::Map;
using CharMap = std::map<uint16_t, uint16_t>;

constexpr uint32_t kBad = 0xFFFFFFFF;
constexpr std::string_view kHexDigits = "0123456789ABCDEFabcdef";
constexpr std::string_view kHexish = "0123456789ABCDEFabcdefxX";
constexpr uint8_t kFirstLead = 0xC0, kLastLead = 0xFD;

inline int ModelDigit(char c) {
    const size_t at = "0123456789abcdef0123456789ABCDEF"sv.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at % 16);
}

// The hexadecimal rule read forwards: only what follows the last lower-case "x" counts,
// each character of it must be a digit, and the value wraps at 32 bits.
inline uint32_t ModelHex(std::string_view text) {
    if (const size_t x = text.rfind('x'); x != std::string_view::npos) text.remove_prefix(x + 1);
    uint32_t value = 0;
    for (const char c : text) {
        const int digit = ModelDigit(c);
        if (digit < 0) return kBad;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

inline std::optional<uint32_t> ModelAddress(std::string_view text) {
    const uint32_t value = ModelHex(text.substr(0, kAddressFieldLength));
    if (value < kGameDataEnd) return value;
    if (value >> 24 == 0x08 || value >> 24 == 0x09) return value - kBusBase;
    return std::nullopt;
}

// Code files: lines end at CR LF, nothing from the first NUL on counts (nor the piece
// before it that has no CR LF), 13-byte lines only, a bus address, a hexadecimal value.
inline CodeMap ModelCodeText(std::string_view text) {
    const size_t zero = text.find('\0');
    text = text.substr(0, zero);
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string_view::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (zero == std::string_view::npos) lines.push_back(text.substr(start));

    CodeMap codes;
    for (const std::string_view line : lines) {
        if (line.size() != 13) continue;
        const uint32_t address = ModelHex(line.substr(0, 8));
        if (address >> 24 != 0x08 && address >> 24 != 0x09) continue;
        const uint32_t value = ModelHex(line.substr(9, 4));
        if (value == kBad) continue;
        codes[address - kBusBase] = static_cast<uint16_t>(value);
    }
    return codes;
}

struct ModelTable {
    bool ok = true;
    CharMap codes;
};

// string.txt: CR LF lines (one appended), "HH,cc" or "HH LLscc" by the third byte, a short
// or other line ends the table, a wrong length for its kind fails it, first entry wins.
inline ModelTable ModelCharTable(std::string text) {
    text += "\r\n";
    const auto code = [](std::string_view field) {
        const uint32_t value = ModelHex(field);
        return value == kBad ? 0xFFFFu : value;
    };
    const auto character = [](std::string_view line, size_t at) {
        return static_cast<uint16_t>(static_cast<uint8_t>(line[at]) |
                                     static_cast<uint8_t>(line[at + 1]) << 8);
    };
    ModelTable table;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string_view line(text.data() + start, end - start);
        if (line.size() < 5 || (line[2] != ',' && line[2] != ' ')) break;
        if (line.size() != (line[2] == ',' ? 5u : 8u)) {
            table.ok = false;
            break;
        }
        if (line[2] == ',') {
            table.codes.emplace(static_cast<uint16_t>(code(line.substr(0, 2))), character(line, 3));
        } else {
            const uint32_t key = code(line.substr(3, 2)) * 256 + code(line.substr(0, 2));
            table.codes.emplace(static_cast<uint16_t>(key), character(line, 6));
        }
    }
    return table;
}

inline std::string CodeLine(uint32_t address, uint32_t value) {
    char line[24];
    std::snprintf(line, sizeof line, "%08X:%04X", address, value & 0xFFFF);
    return line;
}

// A game byte that is seldom the terminator, so that decoding runs to the span's end.
inline uint8_t GameByte(RandomBytes& rng) {
    const uint8_t b = rng.Byte();
    return b == 0xFF && !rng.OneIn(8) ? static_cast<uint8_t>(rng.Below(0xC0)) : b;
}

inline uint8_t LeadByte(RandomBytes& rng) {
    return static_cast<uint8_t>(kFirstLead + rng.Below(kLastLead - kFirstLead + 1));
}


}  // namespace tsumugi::test

// string.txt, the character table, as the game's users write it (cp932 bytes):
//
//   - lines end in CR LF; the last line needs none (the loader appends one);
//   - "HH,cc"     (5 bytes)  one-byte code HH shown as the two bytes cc;
//   - "HH LLscc"  (8 bytes)  two-byte code stored as HH then LL in the ROM, shown as cc;
//                            s is a separator of any value. Its key is LL * 256 + HH,
//                            the pair read low byte first, as the decoder forms it;
//   - the third byte alone says which kind a line is. A line shorter than 5 bytes (a
//     blank line too) or one whose third byte is neither comma nor space ends the table,
//     and the load succeeds; a comma line that is not 5 bytes long or a space line that
//     is not 8 bytes long fails the whole load;
//   - a code field is read from its last digit backwards; a lower-case "x" stops the
//     reading and keeps what was read, any other non-digit makes the code 0xFFFF;
//   - the first line for a code wins.
#include "core/char_table.h"

#include <span>
#include <vector>

#include "core/settings.h"
#include "core/user_files.h"

namespace tsumugi {
namespace {

constexpr uint16_t kBadHex = 0xFFFF;

std::string& TablePath() {
    static std::string path;
    return path;
}

int HexDigit(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

uint16_t ReadHexBackwards(const uint8_t* field, size_t length) {
    uint32_t value = 0;
    unsigned shift = 0;
    for (size_t j = length; j-- > 0;) {
        const int digit = HexDigit(field[j]);
        if (digit >= 0) {
            value |= static_cast<uint32_t>(digit) << shift;
            shift += 4;
        } else if (field[j] == 'x') {
            break;
        } else {
            return kBadHex;
        }
    }
    return static_cast<uint16_t>(value);
}

uint16_t CharOf(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

enum class LineResult { Entry, EndOfTable, Malformed };

constexpr size_t kOneByteLine = 5;
constexpr size_t kTwoByteLine = 8;
constexpr size_t kKindByte = 2;

LineResult ParseLine(std::span<const uint8_t> line, std::map<uint16_t, uint16_t>& codes) {
    if (line.size() < kOneByteLine) return LineResult::EndOfTable;
    const uint8_t* p = line.data();
    if (p[kKindByte] == ',') {
        if (line.size() != kOneByteLine) return LineResult::Malformed;
        codes.emplace(ReadHexBackwards(p, 2), CharOf(p + 3));
        return LineResult::Entry;
    }
    if (p[kKindByte] == ' ') {
        if (line.size() != kTwoByteLine) return LineResult::Malformed;
        const uint16_t first = ReadHexBackwards(p, 2);
        const uint16_t second = ReadHexBackwards(p + 3, 2);
        codes.emplace(static_cast<uint16_t>(second * 256u + first), CharOf(p + 6));
        return LineResult::Entry;
    }
    return LineResult::EndOfTable;
}

}  // namespace

CharTable& CharTable::Instance() {
    static CharTable table;
    return table;
}

bool CharTable::Parse(const uint8_t* data, size_t size) {
    std::vector<uint8_t> text;
    text.reserve(size + 2);
    if (size > 0) text.assign(data, data + size);
    text.push_back('\r');
    text.push_back('\n');

    m_codeToChar.clear();
    const std::span<const uint8_t> all(text);
    size_t start = 0;
    while (start < all.size()) {
        size_t end = start;
        while (end + 1 < all.size() && !(all[end] == '\r' && all[end + 1] == '\n')) ++end;
        if (end + 1 >= all.size()) break;  // the text ends in CR LF, so this never cuts a line
        const LineResult result = ParseLine(all.subspan(start, end - start), m_codeToChar);
        if (result == LineResult::Malformed) return false;
        if (result == LineResult::EndOfTable) break;
        start = end + 2;
    }

    m_charToCode.clear();
    for (const auto& [code, ch] : m_codeToChar) m_charToCode.emplace(ch, code);
    return true;
}

void CharTable::SetPath(const std::string& path) { TablePath() = path; }

std::string CharTable::Path() {
    return TablePath().empty() ? CharTableFile() : TablePath();
}

void CharTable::Reset() {
    m_codeToChar.clear();
    m_charToCode.clear();
    m_bLoaded = false;
}

}  // namespace tsumugi

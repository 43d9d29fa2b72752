#include "core/patch_code.h"

#include <cstring>
#include <iterator>

#include "core/bytes.h"
#include "core/file_io.h"

namespace tsumugi {

namespace {

constexpr uint32_t kBadHex = 0xFFFFFFFF;
// Regions are compared this many bytes at a time; only a chunk that differs is walked word
// by word. Even, so that no word straddles two chunks.
constexpr uint32_t kDiffChunk = 256;

namespace code_line {
constexpr size_t kLength = 13;  // "080C38C4:00FF"
constexpr size_t kAddress = 0, kAddressLength = 8;
constexpr size_t kValue = 9, kValueLength = 4;
}  // namespace code_line

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void DiffWords(const uint8_t* copy, const uint8_t* current, uint32_t offset, uint32_t from,
               uint32_t to, PatchCodeList& codes) {
    for (uint32_t i = from; i < to; i += 2) {
        const uint16_t now = Read16(current + i);
        if (Read16(copy + i) != now) codes.Record(offset + i, now);
    }
}

void AppendHex(std::string& out, uint32_t value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

}  // namespace

std::optional<uint16_t> PatchCodeList::Find(uint32_t offset) const {
    const auto it = m_codes.find(offset);
    if (it == m_codes.end()) return std::nullopt;
    return it->second;
}

void PatchCodeList::Record(uint32_t offset, uint16_t value) {
    const auto it = m_codes.insert_or_assign(offset, value).first;
    // The code below covers offset - 1 and offset: its high byte is our low byte.
    if (it != m_codes.begin()) {
        const auto below = std::prev(it);
        if (below->first + 1 == offset)
            below->second = static_cast<uint16_t>((below->second & 0x00FF) | (value & 0x00FF) << 8);
    }
    // The code above covers offset + 1 and offset + 2: its low byte is our high byte.
    const auto above = std::next(it);
    if (above != m_codes.end() && above->first == offset + 1)
        above->second = static_cast<uint16_t>((above->second & 0xFF00) | value >> 8);
}

void PatchCodeList::Merge(const PatchCodeList& other) {
    for (const auto& [offset, value] : other) m_codes.insert_or_assign(offset, value);
}

uint32_t ParseHex(std::string_view text) {
    uint32_t result = 0;
    uint32_t place = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        if (*it == 'x') return result;
        const int digit = HexDigit(*it);
        if (digit < 0) return kBadHex;
        result += static_cast<uint32_t>(digit) * place;
        place *= 16;  // past eight digits the place wraps to 0, as in 32-bit arithmetic
    }
    return result;
}

bool DiffRegion(const uint8_t* copy, const uint8_t* current, uint32_t offset, uint32_t length,
                PatchCodeList& codes) {
    const uint32_t wordBytes = length & ~1u;
    for (uint32_t start = 0; start < wordBytes; start += kDiffChunk) {
        const uint32_t end = wordBytes - start < kDiffChunk ? wordBytes : start + kDiffChunk;
        if (std::memcmp(copy + start, current + start, end - start) != 0)
            DiffWords(copy, current, offset, start, end, codes);
    }
    if (length & 1u) {
        const uint32_t last = length - 1;
        if (copy[last] != current[last])
            codes.Record(offset + last, static_cast<uint16_t>(0xFF00 | current[last]));
    }
    return true;
}

bool WriteCodeFile(const PatchCodeList& codes, const std::string& path) {
    std::string text;
    text.reserve(codes.Size() * (code_line::kLength + 2));
    for (const auto& [offset, value] : codes) {
        AppendHex(text, offset + kBusBase, 8);
        text += ':';
        AppendHex(text, value, 4);
        text += "\r\n";
    }
    return WriteWholeFile(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

PatchCodeList ParseCodeText(const uint8_t* data, size_t size) {
    PatchCodeList codes;
    if (data == nullptr) return codes;
    const char* text = reinterpret_cast<const char*>(data);
    // The line end that makes a file's last line a line comes after all of the file; a text
    // cut short by a zero byte never reaches it, so what stands before the zero without a
    // CR LF of its own is no line.
    bool cutByZero = false;
    if (const void* zero = std::memchr(text, 0, size)) {
        size = static_cast<size_t>(static_cast<const char*>(zero) - text);
        cutByZero = true;
    }

    auto takeLine = [&](std::string_view line) {
        if (line.size() != code_line::kLength) return;
        const uint32_t address =
            ParseHex(line.substr(code_line::kAddress, code_line::kAddressLength));
        if (!IsBusAddress(address)) return;
        const uint32_t value = ParseHex(line.substr(code_line::kValue, code_line::kValueLength));
        if (value == kBadHex) return;  // a value field that is not hexadecimal
        codes.Set(address - kBusBase, static_cast<uint16_t>(value));
    };

    size_t lineStart = 0;
    size_t searchFrom = 0;
    while (searchFrom < size) {
        const void* found = std::memchr(text + searchFrom, '\n', size - searchFrom);
        if (found == nullptr) break;
        const auto lf = static_cast<size_t>(static_cast<const char*>(found) - text);
        searchFrom = lf + 1;
        if (lf == lineStart || text[lf - 1] != '\r') continue;  // a lone LF ends no line
        takeLine(std::string_view(text + lineStart, lf - 1 - lineStart));
        lineStart = lf + 1;
    }
    if (!cutByZero) takeLine(std::string_view(text + lineStart, size - lineStart));  // a last line without CR LF
    return codes;
}

std::optional<PatchCodeList> ReadCodeFile(const std::string& path) {
    std::optional<ByteBuffer> contents = ReadWholeFile(path);
    if (!contents) return std::nullopt;
    return ParseCodeText(contents->Data(), contents->Size());
}

}  // namespace tsumugi

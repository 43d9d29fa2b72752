#include "core/patch_code.h"

#include <array>
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

constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The value of every byte as a hexadecimal digit, or -1.
constexpr std::array<int8_t, 256> kDigitValues = [] {
    std::array<int8_t, 256> values{};
    for (int c = 0; c < 256; ++c)
        values[static_cast<size_t>(c)] = static_cast<int8_t>(HexDigit(static_cast<char>(c)));
    return values;
}();

// A field of nothing but hexadecimal digits, read at once; anything else (an "x" in it,
// say) goes the long way through ParseHex.
uint32_t ParseField(std::string_view field) {
    uint32_t value = 0;
    for (const char c : field) {
        const int digit = kDigitValues[static_cast<uint8_t>(c)];
        if (digit < 0) return ParseHex(field);
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

// Walks the words of the region, comparing a chunk at a time, and hands each changed one
// to changed(offset, value).
template <typename Changed>
void WalkChangedWords(const uint8_t* copy, const uint8_t* current, uint32_t offset, uint32_t length,
                      Changed&& changed) {
    const uint32_t wordBytes = length & ~1u;
    for (uint32_t start = 0; start < wordBytes; start += kDiffChunk) {
        const uint32_t end = wordBytes - start < kDiffChunk ? wordBytes : start + kDiffChunk;
        if (std::memcmp(copy + start, current + start, end - start) == 0) continue;
        for (uint32_t i = start; i < end; i += 2) {
            const uint16_t now = Read16(current + i);
            if (Read16(copy + i) != now) changed(offset + i, now);
        }
    }
    if (length & 1u) {
        const uint32_t last = length - 1;
        if (copy[last] != current[last])
            changed(offset + last, static_cast<uint16_t>(0xFF00 | current[last]));
    }
}

constexpr size_t kLineBytes = code_line::kLength + 2;  // the line and its CR LF

// The two digits of every byte value, "000102...FF".
constexpr std::array<char, 512> kByteDigits = [] {
    constexpr char digits[] = "0123456789ABCDEF";
    std::array<char, 512> pairs{};
    for (size_t b = 0; b < 256; ++b) {
        pairs[2 * b] = digits[b >> 4];
        pairs[2 * b + 1] = digits[b & 0xF];
    }
    return pairs;
}();

void PutByte(char* out, uint32_t byte) {
    out[0] = kByteDigits[2 * (byte & 0xFF)];
    out[1] = kByteDigits[2 * (byte & 0xFF) + 1];
}

// Writes the kLineBytes of one code's line at out.
void FormatLine(char* out, uint32_t offset, uint16_t value) {
    const uint32_t address = offset + kBusBase;
    PutByte(out, address >> 24);
    PutByte(out + 2, address >> 16);
    PutByte(out + 4, address >> 8);
    PutByte(out + 6, address);
    out[8] = ':';
    PutByte(out + 9, value >> 8);
    PutByte(out + 11, value);
    out[13] = '\r';
    out[14] = '\n';
}

}  // namespace

std::optional<uint16_t> PatchCodeList::Find(uint32_t offset) const {
    const auto it = m_codes.find(offset);
    if (it == m_codes.end()) return std::nullopt;
    return it->second;
}

void PatchCodeList::Record(uint32_t offset, uint16_t value) {
    // A diff records in ascending order: those codes go in at the end without a search.
    const auto it = m_codes.empty() || offset > m_codes.rbegin()->first
                        ? m_codes.emplace_hint(m_codes.end(), offset, value)
                        : m_codes.insert_or_assign(offset, value).first;
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
    WalkChangedWords(copy, current, offset, length,
                     [&codes](uint32_t at, uint16_t value) { codes.Record(at, value); });
    return true;
}

void ForEachChangedWord(const uint8_t* copy, const uint8_t* current, uint32_t offset,
                        uint32_t length,
                        const std::function<void(uint32_t offset, uint16_t value)>& changed) {
    WalkChangedWords(copy, current, offset, length, changed);
}

void AppendCodeLine(std::string& text, uint32_t offset, uint16_t value) {
    char line[kLineBytes];
    FormatLine(line, offset, value);
    text.append(line, kLineBytes);
}

std::string CodeText(const PatchCodeList& codes) {
    std::string text(codes.Size() * kLineBytes, '\0');
    char* out = text.data();
    for (const auto& [offset, value] : codes) {
        FormatLine(out, offset, value);
        out += kLineBytes;
    }
    return text;
}

bool WriteCodeFile(const PatchCodeList& codes, const std::string& path) {
    return WriteCodeText(CodeText(codes), path);
}

bool WriteCodeText(const std::string& text, const std::string& path) {
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
            ParseField(line.substr(code_line::kAddress, code_line::kAddressLength));
        if (!IsBusAddress(address)) return;
        const uint32_t value = ParseField(line.substr(code_line::kValue, code_line::kValueLength));
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

// Game text <-> cp932 display text.
//
// Game text: 0x00-0xBF one-byte codes, 0xC0-0xFD a lead byte taking the next byte with it
// (the pair read low byte first is the table key), 0xFE newline, 0xFF terminator.
// Display text: cp932 in two-byte units, CR LF for a line break.
#include "core/text_codec.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <optional>

#include "core/char_table.h"
#include "core/cp932.h"
#include "core/file_io.h"

namespace tsumugi {
namespace {

using namespace game_text;
constexpr char kUnlisted[] = "\x81\x45";  // "・" in cp932
constexpr char kLineBreak[] = "\r\n";

int32_t ClampToInt(size_t value) {
    return static_cast<int32_t>(std::min<size_t>(value, INT32_MAX));
}

uint16_t SwapBytes(uint16_t value) { return static_cast<uint16_t>(value << 8 | value >> 8); }

}  // namespace

std::optional<uint16_t> GameCodeOf(const std::map<uint16_t, uint16_t>& charToCode, uint16_t ch) {
    if (const auto found = charToCode.find(ch); found != charToCode.end()) return found->second;
    std::optional<uint16_t> code;
    for (const uint16_t twin : Cp932Twins(SwapBytes(ch))) {
        const auto found = charToCode.find(SwapBytes(twin));
        if (found != charToCode.end() && (!code || found->second < *code)) code = found->second;
    }
    return code;
}

CTextCodec::CTextCodec(const uint8_t* rom, uint32_t romSize) : m_pRom(rom), m_nRomSize(romSize) {}

bool CTextCodec::LoadTable() {
    CharTable& table = CharTable::Instance();
    const std::optional<ByteBuffer> file = ReadWholeFile(CharTable::Path());
    if (!file) return false;
    if (!table.Parse(file->Data(), file->Size())) return false;
    table.m_bLoaded = true;
    return true;
}

int CTextCodec::Decode(std::string& text, const uint8_t* bytes, int limit) {
    m_nStatus = 0;
    m_nLength = 0;
    CharTable& table = CharTable::Instance();
    if (!table.m_bLoaded && !LoadTable()) {
        text = "Error";
        return 0;
    }
    if (limit < 0 || bytes == nullptr) {
        text.clear();
        return 1;
    }

    // A pair begun at the span's last position takes the byte at position limit, as the
    // game's own reader does. Inside the ROM image nothing past the image's end is read; a
    // span that starts right at the end holds nothing.
    const size_t want = static_cast<size_t>(limit);
    size_t readable = want + 1;
    const auto start = reinterpret_cast<uintptr_t>(bytes);
    const auto image = reinterpret_cast<uintptr_t>(m_pRom);
    if (m_pRom != nullptr && start >= image && start - image <= m_nRomSize) {
        readable = std::min<size_t>(readable, m_nRomSize - (start - image));
    }
    const size_t end = std::min(want, readable);

    const std::map<uint16_t, uint16_t>& codes = table.m_codeToChar;
    std::string out;
    out.reserve(2 * end + 4);
    size_t i = 0;
    while (i < end) {
        const uint8_t b = bytes[i];
        if (b == kTerminator) break;
        if (b == kNewline) {
            out += kLineBreak;
            ++i;
            continue;
        }
        uint16_t key = b;
        size_t step = 1;
        if (b >= kFirstLeadByte) {
            if (i + 1 >= readable) {
                // The lead byte is the image's last byte: its pair cannot be complete.
                out += kUnlisted;
                m_nStatus = 1;
                m_nErrorPos = ClampToInt(i);
                std::snprintf(m_szErrorText, sizeof m_szErrorText, "%02X %02X", 0, b);
                i = readable;
                break;
            }
            key = static_cast<uint16_t>(b | (bytes[i + 1] << 8));
            step = 2;
        }
        const auto found = codes.find(key);
        if (found != codes.end()) {
            out += static_cast<char>(found->second & 0xFF);
            out += static_cast<char>(found->second >> 8);
        } else {
            out += kUnlisted;
            m_nStatus = 1;
            m_nErrorPos = ClampToInt(i);
            std::snprintf(m_szErrorText, sizeof m_szErrorText, "%02X %02X", key >> 8, key & 0xFF);
        }
        i += step;
    }
    m_nLength = ClampToInt(i + 1);
    text = std::move(out);
    return 1;
}

int CTextCodec::Encode(const std::string& text, uint8_t* bytes, int limit) {
    m_nStatus = 0;
    if (bytes == nullptr || limit <= 0) {
        // Not even the terminator fits.
        m_nStatus = 2;
        m_nLength = 0;
        return 1;
    }
    const std::map<uint16_t, uint16_t>& codes = CharTable::Instance().m_charToCode;
    const size_t room = static_cast<size_t>(limit);
    size_t p = 0;
    size_t o = 0;
    bool lastWasPair = false;  // the last code written took two bytes
    while (o < room) {
        if (p >= text.size() || text[p] == '\0') {
            bytes[o] = kTerminator;
            m_nLength = ClampToInt(o + 1);
            return 1;
        }
        const auto first = static_cast<uint8_t>(text[p]);
        const auto second = static_cast<uint8_t>(p + 1 < text.size() ? text[p + 1] : '\0');
        if (first == '\r' && second == '\n') {
            bytes[o++] = kNewline;
            lastWasPair = false;
        } else {
            const std::optional<uint16_t> code = GameCodeOf(codes, static_cast<uint16_t>(first | (second << 8)));
            if (!code) {
                m_nErrorPos = ClampToInt(p);
                m_szErrorText[0] = static_cast<char>(first);
                m_szErrorText[1] = static_cast<char>(second);
                m_szErrorText[2] = '\0';
                m_nStatus = 1;
                return 0;
            }
            if (*code < kFirstTwoByteCode) {
                bytes[o++] = static_cast<uint8_t>(*code);
                lastWasPair = false;
            } else {
                if (o + 2 > room) break;
                bytes[o++] = static_cast<uint8_t>(*code & 0xFF);
                bytes[o++] = static_cast<uint8_t>(*code >> 8);
                lastWasPair = true;
            }
        }
        p += 2;
    }
    // Cut: the terminator takes the field's last byte, over whatever code stands there.
    // When that was the second byte of a pair, the pair's first byte goes too: left alone
    // it would take the terminator as its second byte and the text would run on.
    bytes[room - 1] = kTerminator;
    if (o == room && lastWasPair) bytes[room - 2] = kTerminator;
    m_nStatus = 2;
    m_nLength = limit;
    return 1;
}

}  // namespace tsumugi

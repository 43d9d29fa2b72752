#include "core/text_escape.h"

#include <algorithm>
#include <optional>

#include "core/char_table.h"
#include "core/cp932.h"
#include "core/text_codec.h"

namespace tsumugi {
namespace {

using namespace game_text;
constexpr char kHexDigits[] = "0123456789ABCDEF";

size_t Utf8Step(std::string_view text, size_t pos) {
    const auto lead = static_cast<uint8_t>(text[pos]);
    const size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, text.size() - pos);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Reads "{HH HH ...}" starting at text[pos] == '{'. On success pos is past the '}'.
bool ReadByteEscape(std::string_view text, size_t& pos, std::vector<uint8_t>& bytes,
                    std::string& reason) {
    size_t p = pos + 1;
    for (;;) {
        if (p + 1 >= text.size() || HexValue(text[p]) < 0 || HexValue(text[p + 1]) < 0) {
            reason = text.find('}', pos) == std::string_view::npos
                         ? "an escape \"{\" is not closed by \"}\" (write \"{{\" for a \"{\")"
                         : "an escape holds something other than two-digit hex bytes "
                           "(write \"{{\" for a \"{\")";
            return false;
        }
        bytes.push_back(static_cast<uint8_t>(HexValue(text[p]) * 16 + HexValue(text[p + 1])));
        p += 2;
        if (p < text.size() && text[p] == '}') {
            pos = p + 1;
            return true;
        }
        if (p >= text.size() || text[p] != ' ') {
            reason = text.find('}', pos) == std::string_view::npos
                         ? "an escape \"{\" is not closed by \"}\" (write \"{{\" for a \"{\")"
                         : "the bytes of an escape must be separated by single spaces";
            return false;
        }
        ++p;
    }
}

}  // namespace

void AppendByteEscape(std::string& out, std::span<const uint8_t> bytes) {
    out += '{';
    for (size_t k = 0; k < bytes.size(); ++k) {
        if (k > 0) out += ' ';
        out += kHexDigits[bytes[k] >> 4];
        out += kHexDigits[bytes[k] & 0xF];
    }
    out += '}';
}

GameTextEscaper::GameTextEscaper(const std::map<uint16_t, uint16_t>& codeToChar,
                                 const std::map<uint16_t, uint16_t>& charToCode)
    : m_codeToChar(codeToChar), m_charToCode(charToCode) {}

GameTextEscaper::GameTextEscaper()
    : GameTextEscaper(CharTable::Instance().m_codeToChar, CharTable::Instance().m_charToCode) {}

const std::string& GameTextEscaper::CodeText(uint16_t code) {
    const auto cached = m_codeText.find(code);
    if (cached != m_codeText.end()) return cached->second;
    std::string& text = m_codeText[code];
    const auto entry = m_codeToChar.find(code);
    if (entry == m_codeToChar.end()) return text;
    const char display[2] = {static_cast<char>(entry->second & 0xFF), static_cast<char>(entry->second >> 8)};
    const Cp932Result utf8 = Cp932ToUtf8(std::string_view(display, 2));
    if (!utf8.ok) return text;
    for (const char c : utf8.text) {
        // A control character would not survive a spreadsheet, and a line break would read
        // back as the newline code.
        if (static_cast<uint8_t>(c) < 0x20 || c == 0x7F) return text;
    }
    // The character must come back as this very code: the table may list it under an
    // earlier code too, or give a character Unicode folds into another.
    const Cp932Result back = Utf8ToCp932(utf8.text);
    if (!back.ok || back.text.size() != 2) return text;
    const auto pair = static_cast<uint16_t>(static_cast<uint8_t>(back.text[0]) |
                                            static_cast<uint8_t>(back.text[1]) << 8);
    if (GameCodeOf(m_charToCode, pair) != code) return text;
    for (const char c : utf8.text) {
        if (c == '{') text += '{';
        text += c;
    }
    return text;
}

std::string GameTextEscaper::Decode(std::span<const uint8_t> bytes, size_t* used) {
    std::string out;
    size_t i = 0;
    while (i < bytes.size()) {
        const uint8_t b = bytes[i];
        if (b == kTerminator) break;
        if (b == kNewline) {
            out += '\n';
            ++i;
            continue;
        }
        size_t length = 1;
        uint16_t code = b;
        if (b >= kFirstLeadByte) {
            if (i + 1 >= bytes.size()) {
                AppendByteEscape(out, bytes.subspan(i, 1));
                ++i;
                break;
            }
            code = static_cast<uint16_t>(b | bytes[i + 1] << 8);
            length = 2;
        }
        const std::string& text = CodeText(code);
        if (text.empty()) {
            AppendByteEscape(out, bytes.subspan(i, length));
        } else {
            out += text;
        }
        i += length;
    }
    if (used != nullptr) *used = i;
    return out;
}

bool GameTextEscaper::EncodeRun(std::string_view run, const std::vector<size_t>& indices,
                                EscapedEncoding& out) {
    if (run.empty()) return true;
    const Cp932Result cp932 = Utf8ToCp932(run);
    // The character at cp932 byte offset `at`, and its index in the whole text.
    const auto locate = [&](size_t at, std::string& character) {
        size_t k = 0, bytes = 0;
        for (size_t p = 0; p < run.size(); p += Utf8Step(run, p), ++k) {
            const std::string_view one = run.substr(p, Utf8Step(run, p));
            const Cp932Result converted = Utf8ToCp932(one);
            bytes += converted.ok ? converted.text.size() : 0;
            if (!converted.ok || bytes > at) {
                character = std::string(one);
                break;
            }
        }
        return k < indices.size() ? indices[k] : indices.empty() ? 0 : indices.back();
    };
    if (!cp932.ok) {
        std::string character;
        out.errorPos = locate(cp932.errorPos, character);
        out.reason = "\"" + character + "\" has no cp932 form";
        return false;
    }
    const std::string& s = cp932.text;
    for (size_t p = 0; p < s.size(); p += 2) {
        const auto first = static_cast<uint8_t>(s[p]);
        const auto second = static_cast<uint8_t>(p + 1 < s.size() ? s[p + 1] : 0);
        const std::optional<uint16_t> code =
            GameCodeOf(m_charToCode, static_cast<uint16_t>(first | second << 8));
        if (!code) {
            std::string character;
            out.errorPos = locate(p, character);
            const Cp932Result shown = Cp932ToUtf8(s.substr(p, p + 1 < s.size() ? 2 : 1));
            out.reason = "\"" + (shown.ok ? shown.text : character) +
                         "\" has no code in the character table";
            return false;
        }
        if (*code < kFirstTwoByteCode) {
            out.bytes.push_back(static_cast<uint8_t>(*code));
        } else {
            out.bytes.push_back(static_cast<uint8_t>(*code & 0xFF));
            out.bytes.push_back(static_cast<uint8_t>(*code >> 8));
        }
    }
    return true;
}

EscapedEncoding GameTextEscaper::Encode(std::string_view text) {
    EscapedEncoding out;
    std::string run;
    std::vector<size_t> indices;  // the index in text of each character of run
    size_t index = 0;             // the character index of text[pos]
    size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '{' && pos + 1 < text.size() && text[pos + 1] == '{') {
            run += '{';
            indices.push_back(index);
            pos += 2;
            index += 2;
            continue;
        }
        const bool newline = c == '\n' || (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n');
        if (c != '{' && !newline) {
            const size_t step = Utf8Step(text, pos);
            run.append(text.substr(pos, step));
            indices.push_back(index);
            pos += step;
            ++index;
            continue;
        }
        if (!EncodeRun(run, indices, out)) return out;
        run.clear();
        indices.clear();
        if (newline) {
            out.bytes.push_back(kNewline);
            pos += c == '\r' ? 2 : 1;
            index += c == '\r' ? 2 : 1;
        } else {
            const size_t start = pos;
            if (!ReadByteEscape(text, pos, out.bytes, out.reason)) {
                out.errorPos = index;
                return out;
            }
            index += pos - start;  // an escape is ASCII: one character per byte
        }
    }
    if (!EncodeRun(run, indices, out)) return out;
    out.ok = true;
    return out;
}

}  // namespace tsumugi

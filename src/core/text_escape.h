#pragma once
// Game text as plain UTF-8 that loses nothing: every character the character table lists
// is written as itself, a line break (0xFE) as "\n", and every byte or code the table
// lacks as an escape of its bytes in hex, "{FD F0}". A literal "{" is written "{{".
// Reading the text back gives the very same bytes.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tsumugi {

struct EscapedEncoding {
    bool ok = false;
    std::vector<uint8_t> bytes;  // the game bytes, no terminator
    size_t errorPos = 0;         // on failure: the UTF-8 character's index in the text
    std::string reason;          // on failure: why, in words
};

// One conversion session over the character table (code -> cp932 display character, and
// display character -> code). It remembers what it converted: keep one for a whole table.
class GameTextEscaper {
public:
    GameTextEscaper(const std::map<uint16_t, uint16_t>& codeToChar,
                    const std::map<uint16_t, uint16_t>& charToCode);
    // Over the process-wide character table.
    GameTextEscaper();

    // The game text in bytes up to its terminator (0xFF where a code starts) or the end of
    // bytes. A two-byte code's lead byte takes the next byte whatever it is; a lead byte in
    // the last position stands alone. `used` (when given) receives the bytes read, the
    // terminator not counted.
    std::string Decode(std::span<const uint8_t> bytes, size_t* used = nullptr);

    // Text written by Decode (or by hand) back to game bytes. Fails on a bad escape, a
    // character cp932 cannot hold, a character the table has no code for.
    EscapedEncoding Encode(std::string_view text);

private:
    // The text a code is written as, or empty when it must be escaped.
    const std::string& CodeText(uint16_t code);
    bool EncodeRun(std::string_view run, const std::vector<size_t>& indices, EscapedEncoding& out);

    const std::map<uint16_t, uint16_t>& m_codeToChar;
    const std::map<uint16_t, uint16_t>& m_charToCode;
    std::unordered_map<uint16_t, std::string> m_codeText;
};

// Appends "{B1 B2 ...}" for the bytes.
void AppendByteEscape(std::string& out, std::span<const uint8_t> bytes);

}  // namespace tsumugi

#pragma once
// The text service bound to the ROM buffer: game text <-> cp932 display text through the
// character table, and the name getters of the ROM's name tables.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace tsumugi {

// The bytes of game text: 0xFF ends a text and 0xFE breaks a line; a byte of 0xC0 or more
// takes the next byte with it as one two-byte code; every other byte is a code alone.
namespace game_text {
constexpr uint8_t kTerminator = 0xFF;
constexpr uint8_t kNewline = 0xFE;
constexpr uint8_t kFirstLeadByte = 0xC0;
constexpr uint16_t kFirstTwoByteCode = 0xC0;
}  // namespace game_text

// The game code of a display character (its two cp932 bytes, the first one low), given the
// table's map from display characters to game codes. Display text comes back from Unicode
// with one cp932 code per character; when the table lists the character under another of
// its cp932 codes only, the lowest game code among those serves, so that a text shown from
// the ROM stores back as it was.
std::optional<uint16_t> GameCodeOf(const std::map<uint16_t, uint16_t>& charToCode, uint16_t ch);

class CTextCodec {
public:
    // rom/romSize: the ROM image. Reads never go past romSize; a span that starts inside
    // the image, or right at its end, is clamped to its end.
    CTextCodec(const uint8_t* rom, uint32_t romSize);
    virtual ~CTextCodec() = default;

    const uint8_t* m_pRom;
    uint32_t m_nRomSize;
    int32_t m_nErrorPos = 0;
    char m_szErrorText[16] = {};
    int32_t m_nStatus = 0;  // 0 fine, 1 unlisted code / unencodable character, 2 cut
    int32_t m_nLength = 0;

    // Reads string.txt (CharTable::Path()) into the table.
    bool LoadTable();

    // Game text (at most limit bytes) to cp932 display text; CR LF for 0xFE. Loads the
    // table first when it is not loaded; returns 0 with "Error" when that fails.
    // A two-byte code whose second byte would lie past the end of the ROM image (or past
    // limit + 1 for a span outside the image) is shown as "・" with status 1 and ends the
    // text.
    int Decode(std::string& text, const uint8_t* bytes, int limit);

    // cp932 display text to at most limit bytes of game text, terminator included.
    // 0 when a character has no code (status 1, m_nErrorPos, m_szErrorText); 1 otherwise,
    // status 2 when the text was cut (m_nLength is then limit). A cut text ends before the
    // first code that does not fit, a pair included: the game never reads half a pair.
    // A character the table lists only under another of its cp932 codes (Cp932Twins)
    // takes that code's game code. Never writes at or past bytes + limit.
    int Encode(const std::string& text, uint8_t* bytes, int limit);

    // Name getters: "Error" and false outside the table's bounds, or when the name field
    // does not lie inside the ROM image.
    bool GetUnitName(int i, std::string& text);
    bool GetFullBonusName(int i, std::string& text);
    bool GetPilotName(int i, std::string& text);
    bool GetBgmName(int i, std::string& text);
    bool GetWeaponName(int i, std::string& text);
    bool GetAceBonusName(int i, std::string& text);
    bool GetSkillName(int i, std::string& text);
    bool GetPartName(int i, std::string& text);
    bool GetSpiritName(int i, std::string& text);
    bool GetChapterName(int i, std::string& text);  // "第%d話 %s"; empty title -> ""
};

}  // namespace tsumugi

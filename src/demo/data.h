#pragma once
// The pieces the demo ROM is built from, shared by its builder files and its tests: the
// character table's entries, a writer that keeps every write inside the image, and the
// names the demo gives to every table (cp932), so that a test can read them back.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tsumugi::demo::detail {

// ---- Character table -------------------------------------------------------------------

// (game code, cp932 display character) in the order string.txt lists them: the one-byte
// codes, then the two-byte codes by lead and trail byte. A two-byte code is stored lead
// byte first, so its key is lead + 256 * trail; the character is held first byte high.
const std::vector<std::pair<uint16_t, uint16_t>>& TableEntries();

// Game bytes of a cp932 text (CR LF -> 0xFE), without terminator. Characters the table
// lacks are skipped and counted in *missing when it is given.
std::vector<uint8_t> EncodeCodes(std::string_view cp932, size_t* missing = nullptr);

// cp932 of UTF-8 source text; empty when the text has a character cp932 lacks.
std::string Sj(std::string_view utf8);

// A game code that string.txt does not list (a lead byte the table never uses), placed in
// the demo's locked texts.
constexpr uint8_t kUnlistedLead = 0xFD, kUnlistedTrail = 0xF0;

// The "none" values of byte and 16-bit record-number fields.
constexpr uint8_t kNone8 = 0xFF;
constexpr uint16_t kNone16 = 0xFFFF;

// ---- Writing into the image -----------------------------------------------------------

class RomWriter {
public:
    explicit RomWriter(std::vector<uint8_t>& rom) : m_rom(rom) {}

    void Put8(uint32_t at, uint8_t value);
    void Put16(uint32_t at, uint16_t value);
    void Put32(uint32_t at, uint32_t value);
    // A game pointer (bus address) to a file offset.
    void PutPointer(uint32_t at, uint32_t offset);
    void PutBytes(uint32_t at, const std::vector<uint8_t>& bytes);
    void Fill(uint32_t at, uint32_t length, uint8_t value);

    // A text field of `room` bytes: the text's codes, 0xFF, then 0x00 up to the end of the
    // field, the way the editors leave a field they store. A text whose codes need more
    // than room - 1 bytes is cut there; false then.
    bool PutText(uint32_t at, uint32_t room, const std::string& cp932);
    // Game bytes already encoded (terminator included) into a field, 0x00 after them.
    bool PutField(uint32_t at, uint32_t room, const std::vector<uint8_t>& bytes);

private:
    bool Inside(uint32_t at, uint32_t length) const;
    std::vector<uint8_t>& m_rom;
};

// Texts laid one after another from a start offset, as the game packs the texts that its
// pointer tables reach. Each text ends with 0xFF; `slack` extra 0x00 bytes after it leave
// room to grow.
class TextArea {
public:
    TextArea(RomWriter& writer, uint32_t start) : m_writer(writer), m_next(start) {}
    uint32_t Add(const std::vector<uint8_t>& bytes, uint32_t slack = 0);
    uint32_t Add(const std::string& cp932, uint32_t slack = 0);
    uint32_t Next() const { return m_next; }
    void Align(uint32_t alignment);

private:
    RomWriter& m_writer;
    uint32_t m_next;
};

// ---- The demo's names (cp932), by table index -----------------------------------------

std::string UnitName(int i);
std::string PilotName(int i);
std::string PilotNickname(int i);  // the locked pilot's nickname is built separately
std::string WeaponName(int i);
std::string SpiritName(int i);
std::string SkillName(int i);
std::string PartName(int i);
std::string BgmName(int i);
std::string AceBonusName(int i);
std::string FullBonusName(int i);
std::string ChapterTitle(int i);  // empty for the chapter without a title
uint16_t ChapterNumber(int i);
std::string PersonalityName(int i);
std::string WeaponTypeName(int i);
std::string SkillTypeName(int i);
std::string TrustTypeName(int i);

// Texts reached through the pointer tables.
std::string BattleLineText(int pilot, int line);
std::string MessageText(int chapter, int message);


// Two messages of one chapter share a text pointer: message kSharedTextMessage shows the
// text of message kSharedTextWith.
constexpr int kSharedTextChapter = 1, kSharedTextMessage = 4, kSharedTextWith = 1;

// Number of battle lines of a pilot, deployments and messages of a chapter.
int BattleLineCount(int pilot);
int DeployCount(int chapter);
int MessageCount(int chapter);

// Builders of the demo's parts (one per file).
void WriteUnitsAndPilots(RomWriter& rom);
void WriteAbilities(RomWriter& rom);
void WriteBonuses(RomWriter& rom);
void WriteScenario(RomWriter& rom);
void WriteBattleLines(RomWriter& rom);

}  // namespace tsumugi::demo::detail

#pragma once
// Patch codes: a ROM file offset and the 16-bit word stored there, and the code file
// that carries them ("%08X:%04X" and CR LF per code, bus addresses).
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tsumugi {

struct PatchCode {
    uint32_t offset;
    uint16_t value;
};

// The run's codes, ordered by offset, one per offset. Cleared only as a whole.
//
// A code covers two bytes, so a code at an odd offset (code files may hold them) shares a
// byte with the code below or above it. The run's list keeps every code equal to the
// bytes the image holds, so that writing the codes in any order, into the ROM file or
// through a saved code file, gives what is in memory: codes are recorded with Record.
class PatchCodeList {
public:
    // Insert-or-assign, touching no other code: for a list read from a code file. Codes
    // set in ascending order (as files and diffs hold them) go in at the end without a search.
    void Set(uint32_t offset, uint16_t value) {
        if (m_codes.empty() || offset > m_codes.rbegin()->first)
            m_codes.emplace_hint(m_codes.end(), offset, value);
        else
            m_codes.insert_or_assign(offset, value);
    }
    // Insert-or-assign for a word the image now holds at offset (its low byte at offset).
    // The codes at offset - 1 and offset + 1 share a byte with it and take that byte over.
    void Record(uint32_t offset, uint16_t value);
    void Clear() { m_codes.clear(); }
    // Takes one code out: only undoing a step that added it does so.
    void Erase(uint32_t offset) { m_codes.erase(offset); }
    bool Empty() const { return m_codes.empty(); }
    size_t Size() const { return m_codes.size(); }
    std::optional<uint16_t> Find(uint32_t offset) const;
    uint32_t MaxOffset() const { return m_codes.empty() ? 0 : m_codes.rbegin()->first; }
    // Copies every code of other in, later values winning.
    void Merge(const PatchCodeList& other);

    using Map = std::map<uint32_t, uint16_t>;
    Map::const_iterator begin() const { return m_codes.begin(); }
    Map::const_iterator end() const { return m_codes.end(); }

private:
    Map m_codes;
};

// Reads a hexadecimal field from its last character backwards: 0-9, A-F and a-f add their
// digit; a lower-case "x" ends the reading keeping what was read; any other character
// gives 0xFFFFFFFF. An empty text gives 0.
uint32_t ParseHex(std::string_view text);

// Records a code for every 16-bit word at even distance from the start of the region that
// differs between copy and current. One linear pass; unchanged words cost no map traffic.
// An odd last byte (only the extension area of an odd-length ROM has one) has no partner
// inside the region: it is compared alone and, when changed, coded with 0xFF as the high
// byte, the value a lengthened ROM holds there. Nothing past the region is read.
bool DiffRegion(const uint8_t* copy, const uint8_t* current, uint32_t offset, uint32_t length,
                PatchCodeList& codes);

// Calls changed(offset, value) for every word DiffRegion would record, in ascending order,
// and records nothing: for a caller that streams the codes out instead of keeping them.
void ForEachChangedWord(const uint8_t* copy, const uint8_t* current, uint32_t offset,
                        uint32_t length,
                        const std::function<void(uint32_t offset, uint16_t value)>& changed);

// Appends one code-file line, "%08X:%04X\r\n" of the code's bus address and value.
void AppendCodeLine(std::string& text, uint32_t offset, uint16_t value);

// The code-file text of the list: one line per code in ascending order.
std::string CodeText(const PatchCodeList& codes);

// Writes "%08X:%04X\r\n" per code in ascending order and cuts the file at the end.
bool WriteCodeFile(const PatchCodeList& codes, const std::string& path);

// Writes code-file text made by CodeText or AppendCodeLine the way WriteCodeFile does.
bool WriteCodeText(const std::string& text, const std::string& path);

// The code-file grammar: lines split at CR LF up to the first zero byte; only lines of
// exactly 13 bytes count; characters 1-8 are the bus address (top byte 0x08 or 0x09),
// character 9 is not looked at, characters 10-13 the value (its low 16 bits). A later
// line for the same address wins.
PatchCodeList ParseCodeText(const uint8_t* data, size_t size);

// Reads the file and parses it; nullopt when it cannot be opened or read.
std::optional<PatchCodeList> ReadCodeFile(const std::string& path);

}  // namespace tsumugi

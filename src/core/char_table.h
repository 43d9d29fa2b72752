#pragma once
// The process-wide character table read from "string.txt": game code <-> two-byte cp932
// display character. Loaded once by the first decode; a failed load is tried again.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace tsumugi {

class CharTable {
public:
    static CharTable& Instance();

    std::map<uint16_t, uint16_t> m_codeToChar;  // game code -> display character
    std::map<uint16_t, uint16_t> m_charToCode;  // display character -> lowest game code
    bool m_bLoaded = false;

    // Parses string.txt content (see the grammar in the .cpp). On a malformed entry line
    // returns false: entries read so far stay in m_codeToChar, m_charToCode is untouched.
    // On success rebuilds m_charToCode (ascending codes, first character wins).
    bool Parse(const uint8_t* data, size_t size);

    // Where string.txt is read from: the program's folder + "string.txt" unless a test or
    // the command line points elsewhere (an empty path restores the default).
    static void SetPath(const std::string& path);
    static std::string Path();

    // Empties both maps and clears the loaded flag (tests, and the command line's
    // --table switch).
    void Reset();

private:
    CharTable() = default;
};

}  // namespace tsumugi

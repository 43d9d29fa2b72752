// string.txt content of any shape: the parser never reads outside the text, and a table
// it accepts is consistent in both directions.
#include <cstddef>
#include <cstdint>
#include <map>

#include "core/char_table.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tsumugi::CharTable& table = tsumugi::CharTable::Instance();
    const std::map<uint16_t, uint16_t> before = table.m_charToCode;
    if (!table.Parse(data, size)) {
        // A rejected text leaves the reverse map as it was.
        FUZZ_CHECK(table.m_charToCode == before);
        return 0;
    }
    // Every character is found again under its lowest code, and nothing else is there.
    FUZZ_CHECK(table.m_charToCode.size() <= table.m_codeToChar.size());
    for (const auto& [code, ch] : table.m_codeToChar) {
        const auto back = table.m_charToCode.find(ch);
        FUZZ_CHECK(back != table.m_charToCode.end());
        FUZZ_CHECK(back->second <= code);
    }
    for (const auto& [ch, code] : table.m_charToCode) {
        const auto forth = table.m_codeToChar.find(code);
        FUZZ_CHECK(forth != table.m_codeToChar.end() && forth->second == ch);
    }
    // The same text parses to the same table.
    const std::map<uint16_t, uint16_t> codes = table.m_codeToChar;
    FUZZ_CHECK(table.Parse(data, size));
    FUZZ_CHECK(table.m_codeToChar == codes);
    return 0;
}

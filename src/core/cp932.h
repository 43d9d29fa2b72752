#pragma once
// cp932 <-> UTF-8 through tables made once from the converter named "CP932" (see
// scripts/gen-cp932-tables.py). Game text is cp932 inside the codec; the windows and the
// command line speak UTF-8.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tsumugi {

struct Cp932Result {
    bool ok = false;
    std::string text;       // the converted text (complete only when ok)
    // On failure: where the bad character stands, counted in cp932 bytes (for
    // Cp932ToUtf8 its position in the input; for Utf8ToCp932 the position it would have
    // in the cp932 text, the way the codec counts its error positions).
    size_t errorPos = 0;
    std::string errorChar;  // on failure: the bad character, as UTF-8 where it is valid
};

// cp932 bytes to UTF-8. Invalid bytes fail with their position.
Cp932Result Cp932ToUtf8(std::string_view cp932);

// cp932 to UTF-8 for showing: every byte that does not convert is written as "\xNN" and
// the rest converts around it.
std::string Cp932ToUtf8Escaped(std::string_view cp932);

// UTF-8 to cp932. A character cp932 cannot hold fails with its position and the
// character; nothing is substituted.
Cp932Result Utf8ToCp932(std::string_view utf8);

// Some characters have more than one two-byte cp932 code: the NEC row-13 symbols that
// also stand in row 2 ("∵" 0x879A and 0x81E6), the NEC-selected IBM extensions at
// 0xED-0xEE that also stand at 0xFA-0xFC. Text that went through Unicode comes back with
// one of them only. For a code written lead byte first (0x879A), all the codes of its
// character in ascending order, itself included; empty when it is the character's only
// code or no code at all. Built once from the same tables the conversions use.
std::span<const uint16_t> Cp932Twins(uint16_t code);

}  // namespace tsumugi

#pragma once
// Narrows the full-width blank, digits and Latin letters of a cp932 text to ASCII, so
// that list items such as the BGM set names read compactly.
#include <string>

namespace tsumugi {

// One pass, left to right, over cp932 text:
// - single-byte characters (ASCII and half-width katakana) are copied;
// - the full-width space 0x81 0x40 becomes a blank;
// - 0x82 0x4F-0x58 (digits), 0x60-0x79 (upper case) and 0x81-0x9A (lower case) become
//   their ASCII letter;
// - every other two-byte character, punctuation with lead byte 0x81 included, is copied
//   unchanged, whatever precedes it;
// - a lead byte in the last position (a cut character) is copied as it is.
std::string NarrowFullWidth(const std::string& cp932);

// True for the first byte of a two-byte cp932 character.
bool IsCp932LeadByte(unsigned char byte);

}  // namespace tsumugi

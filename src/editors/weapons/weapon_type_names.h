#pragma once
// The names of weapon type 2, read from the ROM for the combo "武器タイプ２".
#include <string>
#include <vector>

namespace tsumugi {
class CTextCodec;
}

namespace editors {

// Reads up to 28 names from ROM 0x9AE42 through codec's ROM image, as cp932 display text.
// A name runs to its 0xFF or 0x00 terminator; the next one starts at the first even
// offset after that terminator. Reading stops for good at a name that holds no
// terminator within 64 bytes, or whose bytes would run past the image's end: the names
// before it are all there is.
std::vector<std::string> ReadWeaponTypeNames(tsumugi::CTextCodec& codec);

}  // namespace editors

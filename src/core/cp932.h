#pragma once
// cp932 <-> UTF-8 through glibc iconv ("CP932"). Game text is cp932 inside the codec;
// the windows and the command line speak UTF-8. A converter is opened per call.
#include <cstddef>
#include <optional>
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

// UTF-8 to cp932. A character cp932 cannot hold fails with its position and the
// character; nothing is substituted.
Cp932Result Utf8ToCp932(std::string_view utf8);

}  // namespace tsumugi

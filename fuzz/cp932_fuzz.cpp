// cp932 <-> UTF-8 over arbitrary bytes, read once as cp932 and once as UTF-8.
//  - cp932 that converts comes back to cp932 and then to the same UTF-8 again (duplicate
//    codes normalise, so the bytes may differ, the characters may not);
//  - UTF-8 that converts comes back as the same text, except for the characters the
//    converter takes one way only, which come back as their cp932 code's own character;
//  - a failure names a position inside the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/cp932.h"
#include "fuzz_check.h"

namespace {

// Characters cp932 takes in but gives back as another one.
char32_t OneWay(char32_t c) {
    switch (c) {
        case 0x00A2:
            return 0xFFE0;
        case 0x00A3:
            return 0xFFE1;
        case 0x00A5:
            return 0x005C;
        case 0x00AC:
            return 0xFFE2;
        case 0x2014:
            return 0x2015;
        case 0x2016:
            return 0x2225;
        case 0x203E:
            return 0x007E;
        case 0x2212:
            return 0xFF0D;
        case 0x301C:
            return 0xFF5E;
        default:
            return c;
    }
}

// Code points of valid UTF-8 (the converter has already accepted it).
std::vector<char32_t> CodePoints(std::string_view s) {
    std::vector<char32_t> out;
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<uint8_t>(s[i]);
        const size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        FUZZ_CHECK(i + n <= s.size());
        char32_t c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
        for (size_t k = 1; k < n; ++k) c = (c << 6) | (static_cast<uint8_t>(s[i + k]) & 0x3F);
        out.push_back(c);
        i += n;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const tsumugi::Cp932Result utf8 = tsumugi::Cp932ToUtf8(input);
    if (utf8.ok) {
        const tsumugi::Cp932Result back = tsumugi::Utf8ToCp932(utf8.text);
        FUZZ_CHECK(back.ok);
        FUZZ_CHECK(back.text.size() == input.size());
        const tsumugi::Cp932Result again = tsumugi::Cp932ToUtf8(back.text);
        FUZZ_CHECK(again.ok && again.text == utf8.text);
    } else {
        FUZZ_CHECK(utf8.errorPos < size);
        FUZZ_CHECK(!utf8.errorChar.empty());
    }

    const tsumugi::Cp932Result cp932 = tsumugi::Utf8ToCp932(input);
    if (cp932.ok) {
        const tsumugi::Cp932Result back = tsumugi::Cp932ToUtf8(cp932.text);
        FUZZ_CHECK(back.ok);
        const std::vector<char32_t> typed = CodePoints(input);
        const std::vector<char32_t> shown = CodePoints(back.text);
        FUZZ_CHECK(typed.size() == shown.size());
        for (size_t i = 0; i < typed.size(); ++i) FUZZ_CHECK(OneWay(typed[i]) == shown[i]);
    } else {
        FUZZ_CHECK(cp932.errorPos <= cp932.text.size() + 1);
        FUZZ_CHECK(cp932.errorPos <= 2 * size);
        FUZZ_CHECK(!cp932.errorChar.empty());
    }
    return 0;
}

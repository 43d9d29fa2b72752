// The committed cp932 tables against the system's own converter, where the system has one:
// every one- and two-byte input and every character of the Basic Multilingual Plane (and
// a sample beyond it) must convert, or fail at the same place, exactly as iconv does.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/checked_math.h"
#include "core/cp932.h"

#if defined(__GLIBC__)
#include <iconv.h>
#endif

namespace tsumugi {
namespace {

TEST(CheckedMath, AgreesWithThePortableTestOnEdges) {
    const uint64_t kMax = UINT64_MAX;
    const uint64_t kValues[] = {0, 1, 2, 3, 0x7F, 1ull << 32, (1ull << 32) - 1, kMax / 2, kMax / 2 + 1, kMax - 1, kMax};
    for (const uint64_t a : kValues) {
        for (const uint64_t b : kValues) {
            uint64_t fast = 0, portable = 0;
            EXPECT_EQ(AddOverflows(a, b, &fast), checked_detail::PortableAdd(a, b, &portable)) << a << "+" << b;
            EXPECT_EQ(fast, portable);
            EXPECT_EQ(MulOverflows(a, b, &fast), checked_detail::PortableMul(a, b, &portable)) << a << "*" << b;
            EXPECT_EQ(fast, portable);
        }
    }
}

#if defined(__GLIBC__)
// What iconv makes of the input: the text when all of it converts, else the input offset
// where it stopped and the output written before it.
struct Reference {
    bool ok;
    std::string text;
    size_t stop;
};

Reference Iconv(std::string_view input, const char* to, const char* from) {
    const iconv_t cd = iconv_open(to, from);
    std::string out(input.size() * 4 + 8, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size(), outLeft = out.size();
    char* outPtr = out.data();
    const bool ok = iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return {ok, out, input.size() - inLeft};
}

void ExpectSameAsIconv(std::string_view input, bool fromCp932) {
    const Cp932Result ours = fromCp932 ? Cp932ToUtf8(input) : Utf8ToCp932(input);
    Reference theirs = fromCp932 ? Iconv(input, "UTF-8", "CP932") : Iconv(input, "CP932", "UTF-8");
    // iconv drops the Unicode tag characters without a word; we refuse them.
    const bool tag = !fromCp932 && input.starts_with("\xF3\xA0") && input.size() == 4 && theirs.ok &&
                     theirs.text.empty();
    if (tag) theirs = {false, "", 0};
    const std::string shown = ::testing::PrintToString(std::string(input));
    ASSERT_EQ(ours.ok, theirs.ok) << shown;
    if (ours.ok) {
        ASSERT_EQ(ours.text, theirs.text) << shown;
    } else {
        ASSERT_EQ(ours.errorPos, fromCp932 ? theirs.stop : theirs.text.size()) << shown;
    }
}

std::string Utf8Of(char32_t c) {
    std::string s;
    if (c < 0x80) return std::string(1, static_cast<char>(c));
    if (c < 0x800) return {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    if (c < 0x10000) {
        return {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                static_cast<char>(0x80 | (c & 0x3F))};
    }
    return {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
            static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
}

TEST(Cp932Tables, ConvertEveryInputAsTheSystemConverterDoes) {
    for (unsigned first = 0; first < 256; ++first) {
        ExpectSameAsIconv(std::string(1, static_cast<char>(first)), true);
        ExpectSameAsIconv(std::string(1, static_cast<char>(first)), false);
        for (unsigned second = 0; second < 256; ++second) {
            const std::string pair{static_cast<char>(first), static_cast<char>(second)};
            ExpectSameAsIconv(pair, true);
            ExpectSameAsIconv(pair + "A", true);
            ExpectSameAsIconv(pair, false);  // every two-byte UTF-8 form, valid or not
        }
    }
    for (char32_t c = 0x80; c < 0x110000; c += c < 0x10000 ? 1 : 0x3F) {
        if (c >= 0xD800 && c < 0xE000) continue;
        ExpectSameAsIconv(Utf8Of(c), false);
    }
    // Malformed UTF-8 longer than two bytes: surrogates, overlong forms, values past the
    // last character, characters cut short.
    for (const char* bad : {"\xED\xA0\x80", "\xE0\x80\xAF", "\xF0\x80\x80\xAF", "\xF4\x90\x80\x80", "a\xE3\x81",
                            "\xE3\x81" "a", "\xF8\x88\x80\x80\x80", "\xE3\x81\x82\x80"}) {
        ExpectSameAsIconv(bad, false);
    }
}
#endif

}  // namespace
}  // namespace tsumugi

// cp932 <-> UTF-8 as the input methods and the game's texts need it.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/cp932.h"

namespace tsumugi {
namespace {

std::string ToCp932(std::string_view utf8) {
    const Cp932Result result = Utf8ToCp932(utf8);
    EXPECT_TRUE(result.ok) << utf8;
    return result.text;
}

std::string ToUtf8(std::string_view cp932) {
    const Cp932Result result = Cp932ToUtf8(cp932);
    EXPECT_TRUE(result.ok);
    return result.text;
}

TEST(Cp932, RoundTripsTheCharactersTheGameUses) {
    EXPECT_EQ(ToCp932("・"), "\x81\x45");
    EXPECT_EQ(ToCp932("表"), "\x95\x5C");  // trail byte 0x5C stays a trail byte
    EXPECT_EQ(ToCp932("①"), "\x87\x40");   // NEC special
    EXPECT_EQ(ToCp932("ｷｬﾝｾﾙ"), "\xB7\xAC\xDD\xBE\xD9");
    EXPECT_EQ(ToCp932("A\\\r\n"), "A\\\r\n");
    for (const char* text : {"・", "表示", "①", "ｷｬﾝｾﾙ", "第3話 出撃", "", "a\r\nb"}) {
        EXPECT_EQ(ToUtf8(ToCp932(text)), text);
    }
}

TEST(Cp932, TildesTypedByInputMethodsMapToTheSameCode) {
    EXPECT_EQ(ToCp932("\u301C"), "\x81\x60");  // wave dash
    EXPECT_EQ(ToCp932("\uFF5E"), "\x81\x60");  // full-width tilde
    EXPECT_EQ(ToUtf8("\x81\x60"), "\uFF5E");
}

TEST(Cp932, CharacterWithoutACp932FormIsRefusedWithItsPosition) {
    Cp932Result result = Utf8ToCp932("あaé");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorPos, 3u);  // two bytes for あ, one for a
    EXPECT_EQ(result.errorChar, "é");

    result = Utf8ToCp932("漢\U0001F600字");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorPos, 2u);
    EXPECT_EQ(result.errorChar, "\U0001F600");

    result = Utf8ToCp932("ab\xFF");  // not UTF-8 at all
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorPos, 2u);
    EXPECT_EQ(result.errorChar, "FF");
}

TEST(Cp932, InvalidBytesAreRefusedWithTheirPosition) {
    Cp932Result result = Cp932ToUtf8("\x82\xA0\x80");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorPos, 2u);
    EXPECT_EQ(result.errorChar, "80");

    result = Cp932ToUtf8("a\xFF");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorPos, 1u);

    result = Cp932ToUtf8("ab\x82");  // a lead byte cut short
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorPos, 2u);
    EXPECT_EQ(result.errorChar, "82");
}

TEST(Cp932, TwinsAreTheCodesOfOneCharacter) {
    const struct {
        uint16_t code;
        std::vector<uint16_t> twins;
    } kCases[] = {
        {0x879A, {0x81E6, 0x879A, 0xFA5B}},  // ∵: NEC row 13, row 2 and IBM
        {0x81E6, {0x81E6, 0x879A, 0xFA5B}},
        {0x8790, {0x81E0, 0x8790}},          // ≒
        {0xED40, {0xED40, 0xFA5C}},          // 纊: NEC-selected IBM and IBM
        {0xEEF9, {0x81CA, 0xEEF9, 0xFA54}},  // ￢
        {0x82A0, {}},                        // あ has one code
        {0x8160, {}},                        // ～ is one code, whatever an input method typed
        {0x85A0, {}},                        // undefined pair
        {0x0041, {}},
    };
    for (const auto& c : kCases) {
        const std::span<const uint16_t> twins = Cp932Twins(c.code);
        EXPECT_EQ(std::vector<uint16_t>(twins.begin(), twins.end()), c.twins) << std::hex << c.code;
    }
}

TEST(Cp932, EveryCodeComesBackFromUnicodeAsItselfOrATwin) {
    int changed = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const auto code = static_cast<uint16_t>(lead << 8 | trail);
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const Cp932Result unicode = Cp932ToUtf8(bytes);
            if (!unicode.ok) continue;
            const std::string back = ToCp932(unicode.text);
            ASSERT_EQ(back.size(), 2u) << std::hex << code;
            if (back == bytes) continue;
            ++changed;
            const auto backCode = static_cast<uint16_t>(static_cast<uint8_t>(back[0]) << 8 | static_cast<uint8_t>(back[1]));
            const std::span<const uint16_t> twins = Cp932Twins(code);
            ASSERT_NE(std::find(twins.begin(), twins.end(), backCode), twins.end()) << std::hex << code;
        }
    }
    EXPECT_GT(changed, 300);  // the NEC row 13 duplicates and the NEC-selected IBM extensions
}

}  // namespace
}  // namespace tsumugi

// cp932 <-> UTF-8 as the input methods and the game's texts need it.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tsumugi

#include <gtest/gtest.h>

#include "core/narrow_full_width.h"

using tsumugi::NarrowFullWidth;

namespace {

// cp932 bytes written out, so the test does not depend on the source encoding.
std::string Bytes(std::initializer_list<unsigned char> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(NarrowFullWidth, NarrowsSpaceDigitsAndLettersAtTheirRangeEnds) {
    // "　０９ＡＺａｚ"
    const std::string in = Bytes({0x81, 0x40, 0x82, 0x4F, 0x82, 0x58, 0x82, 0x60, 0x82, 0x79,
                                  0x82, 0x81, 0x82, 0x9A});
    EXPECT_EQ(NarrowFullWidth(in), " 09AZaz");
}

TEST(NarrowFullWidth, CopiesAsciiHiraganaAndKanji) {
    // "01: " + "あ" (82 A0) + "曲" (8B C8) + "＆" is not narrowed (81 95)
    const std::string in =
        "01: " + Bytes({0x82, 0xA0, 0x8B, 0xC8, 0x81, 0x95}) + " & x";
    EXPECT_EQ(NarrowFullWidth(in), in);
}

TEST(NarrowFullWidth, KeepsPunctuationAfterANarrowedCharacter) {
    // "Ａ・ー" : the letter narrows, the 0x81 punctuation that follows stays whole.
    const std::string in = Bytes({0x82, 0x60, 0x81, 0x45, 0x81, 0x5B});
    EXPECT_EQ(NarrowFullWidth(in), "A" + Bytes({0x81, 0x45, 0x81, 0x5B}));
    // After a narrowed space the next character is still read as a pair.
    EXPECT_EQ(NarrowFullWidth(Bytes({0x81, 0x40, 0x81, 0x40, 0x82, 0x50})), "  1");
}

TEST(NarrowFullWidth, LeavesNeighboursOf82OutsideTheRanges) {
    // 82 4E, 82 59, 82 5F, 82 7A, 82 80, 82 9B are not digits or letters.
    const std::string in =
        Bytes({0x82, 0x4E, 0x82, 0x59, 0x82, 0x5F, 0x82, 0x7A, 0x82, 0x80, 0x82, 0x9B});
    EXPECT_EQ(NarrowFullWidth(in), in);
}

TEST(NarrowFullWidth, HalfWidthKatakanaIsASingleByteCharacter) {
    // "ｱ" (B1) before "１": B1 is not a lead byte, so the digit still narrows.
    EXPECT_EQ(NarrowFullWidth(Bytes({0xB1, 0x82, 0x50})), Bytes({0xB1, '1'}));
}

TEST(NarrowFullWidth, CopiesACutLeadByteAtTheEnd) {
    EXPECT_EQ(NarrowFullWidth(Bytes({'A', 0x82})), Bytes({'A', 0x82}));
    EXPECT_EQ(NarrowFullWidth(""), "");
}

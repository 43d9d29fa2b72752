#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>

#include "core/patch_code.h"
#include "temp_dir.h"

namespace tsumugi {
namespace {

using testing::ReadText;
using testing::TempDir;

PatchCodeList Parse(const std::string& text) {
    return ParseCodeText(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::vector<std::pair<uint32_t, uint16_t>> Codes(const PatchCodeList& list) {
    return {list.begin(), list.end()};
}

using CodeVector = std::vector<std::pair<uint32_t, uint16_t>>;

TEST(ParseHex, ReadsFromTheLastCharacterBackwards) {
    EXPECT_EQ(ParseHex(""), 0u);
    EXPECT_EQ(ParseHex("080C38C4"), 0x080C38C4u);
    EXPECT_EQ(ParseHex("00ff"), 0xFFu);
    EXPECT_EQ(ParseHex("aBcD"), 0xABCDu);
    EXPECT_EQ(ParseHex("0x1F"), 0x1Fu);
    EXPECT_EQ(ParseHex("zzx12"), 0x12u);     // anything left of the "x" is ignored
    EXPECT_EQ(ParseHex("x"), 0u);
    EXPECT_EQ(ParseHex("0X1F"), 0xFFFFFFFFu);  // only a lower-case "x" ends the field
    EXPECT_EQ(ParseHex("12 4"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHex("1FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHex("100000000"), 0u);      // a ninth digit has no place in 32 bits
}

TEST(PatchCodeList, InsertOrAssignInOffsetOrder) {
    PatchCodeList list;
    list.Set(0x20, 1);
    list.Set(0x10, 2);
    list.Set(0x20, 3);
    EXPECT_EQ(Codes(list), (CodeVector{{0x10, 2}, {0x20, 3}}));
    EXPECT_EQ(list.MaxOffset(), 0x20u);
    EXPECT_EQ(list.Find(0x20), 3);
    EXPECT_FALSE(list.Find(0x30));

    PatchCodeList later;
    later.Set(0x10, 9);
    later.Set(0x30, 4);
    list.Merge(later);
    EXPECT_EQ(Codes(list), (CodeVector{{0x10, 9}, {0x20, 3}, {0x30, 4}}));
}

TEST(PatchCodeList, RecordHandsTheSharedBytesToNeighbouringCodes) {
    PatchCodeList list;
    list.Set(0x0F, 0x1111);  // covers 0x0F and 0x10
    list.Set(0x11, 0x2222);  // covers 0x11 and 0x12
    list.Set(0x12, 0x3333);  // shares no byte with a word at 0x10
    list.Set(0x0E, 0x4444);
    list.Record(0x10, 0xBBAA);
    EXPECT_EQ(Codes(list), (CodeVector{{0x0E, 0x4444}, {0x0F, 0xAA11}, {0x10, 0xBBAA},
                                       {0x11, 0x22BB}, {0x12, 0x3333}}));
    list.Record(0x10, 0xDDCC);  // assigning again hands over the new bytes
    EXPECT_EQ(Codes(list), (CodeVector{{0x0E, 0x4444}, {0x0F, 0xCC11}, {0x10, 0xDDCC},
                                       {0x11, 0x22DD}, {0x12, 0x3333}}));

    PatchCodeList edges;  // nothing below offset 0, nothing above the last offset
    edges.Record(0, 0x0102);
    edges.Record(0xFFFFFFFF, 0x0304);
    EXPECT_EQ(Codes(edges), (CodeVector{{0, 0x0102}, {0xFFFFFFFF, 0x0304}}));
}

class DiffRegionTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (size_t i = 0; i < before.size(); ++i) before[i] = static_cast<uint8_t>(i * 13);
        after = before;
    }
    std::vector<uint8_t> before = std::vector<uint8_t>(10000);
    std::vector<uint8_t> after;
    PatchCodeList codes;
};

TEST_F(DiffRegionTest, OneChangedByteGivesTheWholeWordAtItsEvenOffset) {
    after[4097] = 0x5A;  // the high byte of a word just past the first compared chunk
    DiffRegion(before.data(), after.data(), 0x100, static_cast<uint32_t>(after.size()), codes);
    EXPECT_EQ(Codes(codes), (CodeVector{{0x100 + 4096, static_cast<uint16_t>(0x5A00 | after[4096])}}));
}

TEST_F(DiffRegionTest, ChangedAndRestoredAddsNothing) {
    after[10] = 1;
    after[10] = before[10];
    DiffRegion(before.data(), after.data(), 0, static_cast<uint32_t>(after.size()), codes);
    EXPECT_TRUE(codes.Empty());
}

TEST_F(DiffRegionTest, UnchangedWordKeepsAnEarlierCode) {
    codes.Set(0x0, 0x1234);
    after[9998] = 0;
    after[9999] = 0;
    DiffRegion(before.data(), after.data(), 0, static_cast<uint32_t>(after.size()), codes);
    EXPECT_EQ(Codes(codes), (CodeVector{{0x0, 0x1234}, {9998, 0}}));
}

TEST_F(DiffRegionTest, OddLengthComparesTheLastByteAloneWithoutReadingPastIt) {
    // Exactly three bytes on the heap: a read of a fourth is caught by the sanitizer.
    auto copy = std::make_unique<uint8_t[]>(3);
    auto current = std::make_unique<uint8_t[]>(3);
    std::memcpy(copy.get(), "\x01\x02\x03", 3);
    std::memcpy(current.get(), "\x01\x02\x07", 3);
    DiffRegion(copy.get(), current.get(), 0x1000000, 3, codes);
    EXPECT_EQ(Codes(codes), (CodeVector{{0x1000002, 0xFF07}}));

    codes.Clear();
    current[2] = 3;
    DiffRegion(copy.get(), current.get(), 0x1000000, 3, codes);
    EXPECT_TRUE(codes.Empty());
    DiffRegion(copy.get(), current.get(), 0x1000000, 0, codes);
    EXPECT_TRUE(codes.Empty());
}

TEST(CodeFile, WritesUpperCaseLinesWithCrLfAndCutsALongerFile) {
    TempDir dir;
    const std::string path = dir.Write("codes.txt", std::string(200, 'Z'));
    PatchCodeList codes;
    codes.Set(0xC38C4, 0x00FF);
    codes.Set(0x1000000, 0xABCD);
    codes.Set(0x10, 0x0001);
    ASSERT_TRUE(WriteCodeFile(codes, path));
    EXPECT_EQ(ReadText(path), "08000010:0001\r\n080C38C4:00FF\r\n09000000:ABCD\r\n");

    const std::optional<PatchCodeList> read = ReadCodeFile(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(Codes(*read), Codes(codes));
    EXPECT_FALSE(ReadCodeFile(dir.File("missing.txt")));
    EXPECT_FALSE(WriteCodeFile(codes, dir.File("no-folder/codes.txt")));
}

TEST(CodeText, AcceptsLowerCaseAndAnySeparator) {
    EXPECT_EQ(Codes(Parse("080c38c4:00ff\r\n080C38C6-1234\r\n080C38C8 5678")),
              (CodeVector{{0xC38C4, 0xFF}, {0xC38C6, 0x1234}, {0xC38C8, 0x5678}}));
}

TEST(CodeText, SkipsLinesOfOtherLengthsAndOtherAddresses) {
    const std::string text =
        "080C38C4:00F\r\n"    // 12 characters
        "080C38C4:00FFF\r\n"  // 14 characters
        "0A0C38C4:00FF\r\n"   // past the cartridge
        "070C38C4:00FF\r\n"
        "0800000G:00FF\r\n"   // not hexadecimal
        "08000000:00 1\r\n"   // value not hexadecimal
        "09FFFFFE:BEEF\r\n";
    EXPECT_EQ(Codes(Parse(text)), (CodeVector{{0x1FFFFFE, 0xBEEF}}));
}

TEST(CodeText, OnlyCrLfEndsALine) {
    // LF-only lines run together into one long line; a lone CR stays inside the line.
    EXPECT_TRUE(Parse("08000000:0001\n08000002:0002\n").Empty());
    EXPECT_TRUE(Parse("08000000:0001\r08000002:0002\r\n").Empty());
    EXPECT_EQ(Codes(Parse("\r\n\r\n08000000:0001\r\r\n08000002:0002\r\n")),
              (CodeVector{{2, 2}}));
}

TEST(CodeText, LaterLineWinsAndOddOffsetsAreKept) {
    EXPECT_EQ(Codes(Parse("08000011:0001\r\n08000004:0002\r\n08000011:0003\r\n")),
              (CodeVector{{4, 2}, {0x11, 3}}));
}

TEST(CodeText, StopsAtTheFirstZeroByteAndSurvivesGarbage) {
    const std::string text("08000000:0001\r\n08000002:0002\r\n\0" "08000004:0003\r\n", 46);
    EXPECT_EQ(Codes(Parse(text)), (CodeVector{{0, 1}, {2, 2}}));
    // A line the zero byte cuts off has no CR LF: it is no line, although it has 13
    // characters. Only the file's own last line needs none.
    EXPECT_EQ(Codes(Parse(std::string("08000000:0001\r\n08000002:0002\0", 29))),
              (CodeVector{{0, 1}}));

    std::vector<uint8_t> garbage(5000);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>((i * 37 + 11) | 1);
    EXPECT_TRUE(ParseCodeText(garbage.data(), garbage.size()).Empty());
    EXPECT_TRUE(ParseCodeText(nullptr, 0).Empty());
    EXPECT_TRUE(Parse("\r\n").Empty());
}

TEST(CodeText, ManyLinesRoundTrip) {
    PatchCodeList codes;
    for (uint32_t i = 0; i < 100000; ++i) codes.Set(i * 2, static_cast<uint16_t>(i));
    TempDir dir;
    ASSERT_TRUE(WriteCodeFile(codes, dir.File("many.txt")));
    const std::optional<PatchCodeList> read = ReadCodeFile(dir.File("many.txt"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Size(), 100000u);
    EXPECT_EQ(read->Find(199998), static_cast<uint16_t>(99999));
}

}  // namespace
}  // namespace tsumugi

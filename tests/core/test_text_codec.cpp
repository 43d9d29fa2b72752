// Decode and Encode against a small character table.
#include <gtest/gtest.h>

#include <vector>

#include "core/text_codec.h"
#include "table_fixture.h"

namespace tsumugi::test {
namespace {

class TextCodecTest : public TableFixture {
protected:
    void SetUp() override {
        TableFixture::SetUp();
        // 01 あ, 02 い, 03 う, 04 あ again (Encode gives 01), C5 a one-byte entry for a code
        // the decoder reads as a lead byte, C0 01 and C3 10 two-byte codes.
        WriteTable(OneByte("01", "あ") + OneByte("02", "い") + OneByte("03", "う") +
                   OneByte("01", "ん") + OneByte("04", "あ") + OneByte("C5", "ー") +
                   TwoByte("C0", "01", "漢") + TwoByte("C3", "10", "字"));
        std::string text;
        ASSERT_EQ(m_codec.Decode(text, m_rom.data(), 1), 1);
    }

    std::string Decode(const std::vector<uint8_t>& bytes, int limit) {
        std::string text;
        EXPECT_EQ(m_codec.Decode(text, bytes.data(), limit), 1);
        return text;
    }

    std::vector<uint8_t> m_rom = std::vector<uint8_t>(16, 0xFF);
    CTextCodec m_codec{m_rom.data(), static_cast<uint32_t>(m_rom.size())};
};

TEST_F(TextCodecTest, DecodesCodesNewlinesAndStopsAtTheTerminator) {
    const std::vector<uint8_t> bytes = {0x01, 0xC0, 0x01, 0xFE, 0x04, 0xC3, 0x10, 0xFF, 0x02};
    EXPECT_EQ(Decode(bytes, 9), Sj("あ漢\r\nあ字"));
    EXPECT_EQ(m_codec.m_nStatus, 0);
    EXPECT_EQ(m_codec.m_nLength, 8);

    EXPECT_EQ(Decode({0xFF, 0x01}, 2), "");
    EXPECT_EQ(m_codec.m_nLength, 1);
}

TEST_F(TextCodecTest, LengthPastTheLimitWithoutTerminator) {
    EXPECT_EQ(Decode({0x01, 0x02, 0x03, 0x01}, 3), Sj("あいう"));
    EXPECT_EQ(m_codec.m_nLength, 4);

    // A pair begun at the last position takes the byte after the span.
    EXPECT_EQ(Decode({0x01, 0x02, 0xC0, 0x01}, 3), Sj("あい漢"));
    EXPECT_EQ(m_codec.m_nLength, 5);

    EXPECT_EQ(Decode({0x01}, 0), "");
    EXPECT_EQ(m_codec.m_nLength, 1);
    EXPECT_EQ(Decode({0x01}, -4), "");
    EXPECT_EQ(m_codec.m_nLength, 0);
}

TEST_F(TextCodecTest, UnlistedCodesShowADotAndNameTheLastOne) {
    EXPECT_EQ(Decode({0x41, 0x01, 0xFF}, 3), Sj("・あ"));
    EXPECT_EQ(m_codec.m_nStatus, 1);
    EXPECT_EQ(m_codec.m_nErrorPos, 0);
    EXPECT_STREQ(m_codec.m_szErrorText, "00 41");

    EXPECT_EQ(Decode({0x41, 0x01, 0xC1, 0x23, 0x02, 0xC5, 0x01}, 7), Sj("・あ・い・"));
    EXPECT_EQ(m_codec.m_nErrorPos, 5);  // C5 is a lead byte here, whatever its own entry
    EXPECT_STREQ(m_codec.m_szErrorText, "01 C5");
    EXPECT_EQ(Decode({0x01, 0xC1, 0x23, 0xFF}, 4), Sj("あ・"));
    EXPECT_EQ(m_codec.m_nErrorPos, 1);
    EXPECT_STREQ(m_codec.m_szErrorText, "23 C1");
}

TEST_F(TextCodecTest, NeverReadsPastTheRomImage) {
    // Exactly sized heap blocks: the sanitizer catches a read past their end.
    std::vector<uint8_t> rom = {0x01, 0x02, 0xC0};
    CTextCodec codec(rom.data(), static_cast<uint32_t>(rom.size()));
    std::string text;
    ASSERT_EQ(codec.Decode(text, rom.data(), 32), 1);
    EXPECT_EQ(text, Sj("あい・"));
    EXPECT_EQ(codec.m_nStatus, 1);
    EXPECT_EQ(codec.m_nErrorPos, 2);
    EXPECT_STREQ(codec.m_szErrorText, "00 C0");
    EXPECT_EQ(codec.m_nLength, 4);

    ASSERT_EQ(codec.Decode(text, rom.data() + 2, 1), 1);  // the span's last byte too
    EXPECT_EQ(text, Sj("・"));
    EXPECT_EQ(codec.m_nLength, 2);

    rom = {0x03, 0x01};
    CTextCodec shortRom(rom.data(), static_cast<uint32_t>(rom.size()));
    ASSERT_EQ(shortRom.Decode(text, rom.data() + 1, 32), 1);
    EXPECT_EQ(text, Sj("あ"));
    EXPECT_EQ(shortRom.m_nStatus, 0);
    EXPECT_EQ(shortRom.m_nLength, 2);

    // A span that starts where the image ends holds nothing.
    ASSERT_EQ(shortRom.Decode(text, rom.data() + rom.size(), 32), 1);
    EXPECT_EQ(text, "");
    EXPECT_EQ(shortRom.m_nStatus, 0);
    EXPECT_EQ(shortRom.m_nLength, 1);
}

TEST_F(TextCodecTest, EncodeWritesCodesLowByteFirstAndRoundTrips) {
    std::vector<uint8_t> out(12, 0xAA);
    ASSERT_EQ(m_codec.Encode(Sj("あ漢\r\nい字"), out.data(), 12), 1);
    const std::vector<uint8_t> expected = {0x01, 0xC0, 0x01, 0xFE, 0x02, 0xC3, 0x10, 0xFF, 0xAA};
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 9), expected);
    EXPECT_EQ(m_codec.m_nStatus, 0);
    EXPECT_EQ(m_codec.m_nLength, 8);
    EXPECT_EQ(Decode(out, 12), Sj("あ漢\r\nい字"));

    // The lowest code of a shared character; a one-byte entry above 0xBF takes two bytes.
    ASSERT_EQ(m_codec.Encode(Sj("あー"), out.data(), 12), 1);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 4),
              (std::vector<uint8_t>{0x01, 0xC5, 0x00, 0xFF}));
    EXPECT_EQ(Decode(out, 12), Sj("あー"));

    ASSERT_EQ(m_codec.Encode("", out.data(), 12), 1);
    EXPECT_EQ(out[0], 0xFF);
    EXPECT_EQ(out[1], 0xC5);
    EXPECT_EQ(m_codec.m_nLength, 1);
    EXPECT_EQ(m_codec.m_nStatus, 0);
}

TEST_F(TextCodecTest, EncodeCutsAtTheFieldsLastByte) {
    std::vector<uint8_t> out(33, 0xAA);
    std::string text;
    for (int k = 0; k < 31; ++k) text += Sj("い");
    ASSERT_EQ(m_codec.Encode(text, out.data(), 32), 1);
    EXPECT_EQ(m_codec.m_nStatus, 0);
    EXPECT_EQ(m_codec.m_nLength, 32);
    EXPECT_EQ(out[30], 0x02);
    EXPECT_EQ(out[31], 0xFF);

    ASSERT_EQ(m_codec.Encode(text + Sj("う"), out.data(), 32), 1);
    EXPECT_EQ(m_codec.m_nStatus, 2);
    EXPECT_EQ(m_codec.m_nLength, 32);
    EXPECT_EQ(out[31], 0xFF);
    EXPECT_EQ(out[32], 0xAA);

    // A pair that would end past the field is cut too; exactly sized, so a write at
    // position limit trips the sanitizer.
    std::vector<uint8_t> field(2, 0xAA);
    ASSERT_EQ(m_codec.Encode(Sj("あ漢"), field.data(), 2), 1);
    EXPECT_EQ(field, (std::vector<uint8_t>{0x01, 0xFF}));
    EXPECT_EQ(m_codec.m_nStatus, 2);
    ASSERT_EQ(m_codec.Encode(Sj("あ"), field.data(), 0), 1);
    EXPECT_EQ(m_codec.m_nStatus, 2);
    EXPECT_EQ(m_codec.m_nLength, 0);
}

TEST_F(TextCodecTest, EncodeNeverCutsAPairInHalf) {
    // A pair whose second byte the terminator would take ends the text before it: its lead
    // byte alone would join the terminator into one more code.
    const struct {
        const char* text;
        int limit;
        std::vector<uint8_t> field;
    } kCases[] = {
        {"あ漢", 3, {0x01, 0xFF, 0xFF}},
        {"漢字", 4, {0xC0, 0x01, 0xFF, 0xFF}},
        {"漢字", 3, {0xC0, 0x01, 0xFF}},  // the second pair does not start: nothing to undo
        {"あ漢い", 4, {0x01, 0xC0, 0x01, 0xFF}},
        {"漢", 2, {0xFF, 0xFF}},
        {"漢", 1, {0xFF}},
    };
    for (const auto& c : kCases) {
        std::vector<uint8_t> field(static_cast<size_t>(c.limit), 0xAA);
        ASSERT_EQ(m_codec.Encode(Sj(c.text), field.data(), c.limit), 1) << c.text;
        EXPECT_EQ(field, c.field) << c.text << " limit " << c.limit;
        EXPECT_EQ(m_codec.m_nStatus, 2) << c.text;
        EXPECT_EQ(m_codec.m_nLength, c.limit) << c.text;
    }
}

TEST_F(TextCodecTest, EncodeFailsOnTheUnitWithoutACode) {
    std::vector<uint8_t> out(16, 0xAA);
    EXPECT_EQ(m_codec.Encode(Sj("あ") + "A" + Sj("いう"), out.data(), 16), 0);
    EXPECT_EQ(m_codec.m_nStatus, 1);
    EXPECT_EQ(m_codec.m_nErrorPos, 2);  // the half-width letter shifted the units after it
    EXPECT_EQ(std::string(m_codec.m_szErrorText), "A" + Sj("い").substr(0, 1));
    EXPECT_EQ(out[0], 0x01);
    EXPECT_EQ(out[1], 0xAA);  // no terminator

    EXPECT_EQ(m_codec.Encode(Sj("いえ"), out.data(), 16), 0);
    EXPECT_EQ(m_codec.m_nErrorPos, 2);
    EXPECT_EQ(std::string(m_codec.m_szErrorText), Sj("え"));

    EXPECT_EQ(m_codec.Encode(Sj("あ") + "A", out.data(), 16), 0);  // odd length: a lone last byte
    EXPECT_STREQ(m_codec.m_szErrorText, "A");
}

TEST_F(TextCodecTest, EncodeBeforeTheFirstLoadKnowsNoCharacter) {
    CharTable::Instance().Reset();
    std::vector<uint8_t> out(4, 0xAA);
    EXPECT_EQ(m_codec.Encode(Sj("あ"), out.data(), 4), 0);
    EXPECT_EQ(m_codec.m_nStatus, 1);
    EXPECT_EQ(m_codec.Encode("", out.data(), 4), 1);
}

// A table that lists characters under their less usual cp932 codes, as some string.txt
// files do: "∵" as 0x879A (usually 0x81E6), "纊" as 0xED40 (usually 0xFA5C), "¬" as
// 0xEEF9 and 0xFA54 (usually 0x81CA), "≒" both as 0x8790 and as its usual 0x81E0.
class TwinCodecTest : public TableFixture {
protected:
    static std::string Raw(const char* code, const char* cp932) {
        return std::string(code) + cp932 + "\r\n";
    }

    void SetUp() override {
        TableFixture::SetUp();
        WriteTable(OneByte("01", "あ") + Raw("05,", "\xFA\x54") + Raw("C0 01:", "\x87\x9A") +
                   Raw("C0 02:", "\xED\x40") + Raw("C0 03:", "\xEE\xF9") +
                   Raw("C0 04:", "\x87\x90") + Raw("C0 05:", "\x81\xE0"));
        std::string text;
        ASSERT_EQ(m_codec.Decode(text, m_rom.data(), 1), 1);
    }

    std::vector<uint8_t> m_rom = std::vector<uint8_t>(16, 0xFF);
    CTextCodec m_codec{m_rom.data(), static_cast<uint32_t>(m_rom.size())};
};

TEST_F(TwinCodecTest, TextShownFromTheRomStoresBackUnchanged) {
    // The display text goes through Unicode and comes back with the usual codes.
    const std::vector<uint8_t> stored = {0x01, 0xC0, 0x01, 0xC0, 0x02, 0xFE, 0x05, 0xFF};
    std::string shown;
    ASSERT_EQ(m_codec.Decode(shown, stored.data(), static_cast<int>(stored.size())), 1);
    ASSERT_EQ(m_codec.m_nStatus, 0);
    const Cp932Result unicode = Cp932ToUtf8(shown);
    ASSERT_TRUE(unicode.ok);
    EXPECT_EQ(unicode.text, "あ∵纊\r\n￢");
    const std::string typed = Sj(unicode.text);
    ASSERT_NE(typed, shown);

    std::vector<uint8_t> out(stored.size(), 0xAA);
    ASSERT_EQ(m_codec.Encode(typed, out.data(), static_cast<int>(out.size())), 1);
    EXPECT_EQ(m_codec.m_nStatus, 0);
    EXPECT_EQ(out, stored);
}

TEST_F(TwinCodecTest, TheUsualCodeWinsThenTheLowestGameCodeOfItsTwins) {
    const struct {
        const char* text;
        std::vector<uint8_t> bytes;
    } kCases[] = {
        {"∵", {0xC0, 0x01, 0xFF}},
        {"纊", {0xC0, 0x02, 0xFF}},
        {"￢", {0x05, 0xFF}},        // 0xFA54 gives 05, below 0xEEF9's C0 03
        {"≒", {0xC0, 0x05, 0xFF}},  // listed under its usual code: 0x8790's C0 04 is not used
        {"\u2252\u2235", {0xC0, 0x05, 0xC0, 0x01, 0xFF}},
    };
    for (const auto& c : kCases) {
        std::vector<uint8_t> out(c.bytes.size(), 0xAA);
        ASSERT_EQ(m_codec.Encode(Sj(c.text), out.data(), static_cast<int>(out.size())), 1) << c.text;
        EXPECT_EQ(out, c.bytes) << c.text;
    }
}

TEST_F(TwinCodecTest, ACharacterWithoutAListedTwinStillFails) {
    std::vector<uint8_t> out(8, 0xAA);
    EXPECT_EQ(m_codec.Encode(Sj("あ∩"), out.data(), 8), 0);  // 0x81BF and 0x879B, neither listed
    EXPECT_EQ(m_codec.m_nStatus, 1);
    EXPECT_EQ(m_codec.m_nErrorPos, 2);
    EXPECT_EQ(std::string(m_codec.m_szErrorText), Sj("∩"));
}

}  // namespace
}  // namespace tsumugi::test

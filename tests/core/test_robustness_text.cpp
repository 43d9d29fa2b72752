// Seeded random and mutated text through the character table, the codec and the name
// getters. Inputs lie in exactly sized heap blocks, so the sanitizers catch any read or
// write past them; results are checked against invariants or plain models of the rules.
#include <gtest/gtest.h>

#include "reference_models.h"

namespace tsumugi::test {
namespace {

// ---- Character table ----------------------------------------------------------------------

class RandomTableTest : public TableFixture {
protected:
    static CharTable& Table() { return CharTable::Instance(); }

    void ParseAndCheck(const std::string& text) {
        const CharMap untouched{{0xABCD, 0x1234}};
        Table().m_charToCode = untouched;
        const std::vector<uint8_t> bytes = Exact(text);
        const bool ok = Table().Parse(bytes.data(), bytes.size());
        const ModelTable model = ModelCharTable(text);
        ASSERT_EQ(ok, model.ok) << Shown(text);
        ASSERT_EQ(Table().m_codeToChar, model.codes) << Shown(text);
        if (!ok) {
            ASSERT_EQ(Table().m_charToCode, untouched) << Shown(text);
            return;
        }
        CharMap lowest;
        for (const auto& [code, ch] : model.codes) lowest.emplace(ch, code);
        // Every character maps back to the lowest code that shows it.
        ASSERT_EQ(Table().m_charToCode, lowest) << Shown(text);
    }
};

TEST_F(RandomTableTest, ParseFollowsTheGrammarOnRandomTableLikeText) {
    RandomBytes rng(0x7AB1E001);
    constexpr std::string_view kEnds[] = {"\r\n", "\r\n", "\n", "\r", ""};
    for (int trial = 0; trial < 3000; ++trial) {
        std::string text;
        for (uint32_t line = 0, lines = rng.Below(12); line < lines; ++line) {
            const std::string kinds[] = {
                rng.Text(2, kHexish) + "," + rng.Bytes(2),
                rng.Text(2, kHexish) + " " + rng.Text(2, kHexish) + rng.Bytes(3),
                rng.Text(rng.Below(10), "0123456789ABx, :\r\n\x81\x40"sv),
                rng.Bytes(rng.Below(10))};
            text += kinds[rng.Below(std::size(kinds))] +
                    std::string(kEnds[rng.Below(std::size(kEnds))]);
        }
        ASSERT_NO_FATAL_FAILURE(ParseAndCheck(text));
    }
}

TEST_F(RandomTableTest, ParseFollowsTheGrammarOnMutatedDemoTables) {
    RandomBytes rng(0x7AB1E002);
    const std::string demoTable = demo::StringTable();
    ASSERT_NO_FATAL_FAILURE(ParseAndCheck(demoTable));
    ASSERT_GT(Table().m_codeToChar.size(), 1000u);
    for (int trial = 0; trial < 150; ++trial) {
        std::string text = demoTable;
        rng.Mutate(text, 1 + static_cast<int>(rng.Below(4)));
        if (rng.OneIn(4)) text.resize(rng.Below(text.size() + 1));
        ASSERT_NO_FATAL_FAILURE(ParseAndCheck(text));
    }
}

// ---- Text codec over the demo table ------------------------------------------------------

class RandomCodecTest : public TableFixture {
protected:
    void SetUp() override {
        TableFixture::SetUp();
        const std::vector<uint8_t> table = Exact(demo::StringTable());
        ASSERT_TRUE(CharTable::Instance().Parse(table.data(), table.size()));
        CharTable::Instance().m_bLoaded = true;
    }
};

TEST_F(RandomCodecTest, DecodeOfASpanAtTheEndOfTheImageStaysInsideIt) {
    RandomBytes rng(0xDEC0DE01);
    for (int trial = 0; trial < 24; ++trial) {
        const size_t size = 1 + rng.Below(48);
        std::vector<uint8_t> rom(size);
        for (uint8_t& b : rom) b = GameByte(rng);
        if (trial % 2 == 0) rom.back() = LeadByte(rng);
        CTextCodec codec(rom.data(), static_cast<uint32_t>(size));
        for (int limit = 0; limit <= 40; ++limit) {
            for (size_t left = 0; left <= size; ++left) {
                std::string text = "unset";
                ASSERT_EQ(codec.Decode(text, rom.data() + (size - left), limit), 1);
                const auto shown = [&] {
                    return Shown({reinterpret_cast<const char*>(rom.data()), size}) + " left " +
                           std::to_string(left) + " limit " + std::to_string(limit);
                };
                // At least the terminator's place, at most one past the span, never past the image.
                const int32_t length = codec.m_nLength;
                ASSERT_TRUE(length >= 1 && length <= limit + 2 && size_t(length - 1) <= left)
                    << shown() << " length " << length;
                ASSERT_EQ(text.size() % 2, 0u) << shown();
                ASSERT_TRUE(codec.m_nStatus == 0 || codec.m_nStatus == 1) << shown();
            }
        }
    }
}

TEST_F(RandomCodecTest, EncodeStaysInsideItsFieldAndRoundTripsWhatFits) {
    RandomBytes rng(0xE2C0DE01);
    const CharMap& charToCode = CharTable::Instance().m_charToCode;
    const std::vector<std::pair<uint16_t, uint16_t>> chars(charToCode.begin(), charToCode.end());
    for (int trial = 0; trial < 1500; ++trial) {
        const int kind = trial % 3;  // 0 table characters, 1 random bytes, 2 one stray byte
        std::string text;
        size_t encoded = 0;
        if (kind == 1) {
            text = rng.Bytes(rng.Below(40));
        } else {
            for (uint32_t n = 0, count = rng.Below(24); n < count; ++n) {
                if (rng.OneIn(8)) {
                    text += "\r\n";
                    ++encoded;
                    continue;
                }
                const auto& [ch, code] = chars[rng.Below(chars.size())];
                text += static_cast<char>(ch & 0xFF);
                text += static_cast<char>(ch >> 8);
                encoded += code < kFirstLead ? 1 : 2;
            }
            if (kind == 2)
                text.insert(rng.Below(text.size() + 1), 1, static_cast<char>(rng.Byte()));
        }
        const int limit = static_cast<int>(rng.Below(41));
        std::vector<uint8_t> field(static_cast<size_t>(limit));  // a write at limit is caught
        CTextCodec codec(field.data(), static_cast<uint32_t>(limit));
        const int result = codec.Encode(text, field.data(), limit);
        const auto shown = [&] { return Shown(text) + " limit " + std::to_string(limit); };
        if (result == 0) {
            ASSERT_NE(kind, 0) << shown();
            ASSERT_EQ(codec.m_nStatus, 1) << shown();
            continue;
        }
        ASSERT_EQ(result, 1) << shown();
        if (limit == 0) {
            ASSERT_EQ(codec.m_nStatus, 2) << shown();
            ASSERT_EQ(codec.m_nLength, 0) << shown();
            continue;
        }
        ASSERT_GE(codec.m_nLength, 1) << shown();
        ASSERT_LE(codec.m_nLength, limit) << shown();
        ASSERT_EQ(field[static_cast<size_t>(codec.m_nLength - 1)], 0xFF) << shown();
        if (codec.m_nStatus == 2) {
            ASSERT_EQ(codec.m_nLength, limit) << shown();
        } else {
            ASSERT_EQ(codec.m_nStatus, 0) << shown();
        }
        if (kind != 0) continue;

        if (encoded + 1 > static_cast<size_t>(limit)) {
            ASSERT_EQ(codec.m_nStatus, 2) << shown();
            continue;
        }
        ASSERT_EQ(codec.m_nStatus, 0) << shown();
        ASSERT_EQ(static_cast<size_t>(codec.m_nLength), encoded + 1) << shown();
        std::string decoded;
        ASSERT_EQ(codec.Decode(decoded, field.data(), limit), 1);
        ASSERT_EQ(decoded, text) << shown();
        ASSERT_EQ(codec.m_nStatus, 0) << shown();
    }
}

TEST_F(RandomCodecTest, CutTextDecodesToTheLongestPrefixThatFits) {
    // Whatever the text and the limit, Decode of what Encode wrote meets the terminator
    // inside the field and gives back the longest prefix whose codes leave it room.
    struct Unit {
        std::string text;  // display bytes
        size_t bytes;      // game bytes
    };
    std::vector<Unit> singles, pairs;
    for (const auto& [ch, code] : CharTable::Instance().m_charToCode) {
        const std::string text{static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
        (code < kFirstLead ? singles : pairs).push_back({text, code < kFirstLead ? 1u : 2u});
    }
    ASSERT_FALSE(singles.empty());
    ASSERT_FALSE(pairs.empty());
    const Unit single = singles.front(), pair = pairs.front(), newline{"\r\n", 1};

    std::vector<std::vector<Unit>> texts = {
        {}, {pair}, {single}, {pair, pair}, {single, pair}, {pair, single},
        std::vector<Unit>(16, pair),  // sixteen full-width letters in a 32-byte name
        {single, pair, pair, newline, pair, single, single, pair},
    };
    RandomBytes rng(0xC07C0DE1);
    for (int trial = 0; trial < 400; ++trial) {
        std::vector<Unit> text;
        for (uint32_t n = 0, count = rng.Below(24); n < count; ++n) {
            const uint32_t kind = rng.Below(8);  // mostly pairs, so that cuts split them
            text.push_back(kind == 0   ? newline
                           : kind < 3 ? singles[rng.Below(singles.size())]
                                      : pairs[rng.Below(pairs.size())]);
        }
        texts.push_back(std::move(text));
    }

    for (const std::vector<Unit>& units : texts) {
        std::string text;
        size_t total = 0;
        for (const Unit& u : units) {
            text += u.text;
            total += u.bytes;
        }
        for (int limit = 1; limit <= static_cast<int>(total) + 2; ++limit) {
            std::string prefix;
            size_t used = 0;
            for (const Unit& u : units) {
                if (used + u.bytes + 1 > static_cast<size_t>(limit)) break;
                prefix += u.text;
                used += u.bytes;
            }
            const auto shown = [&] { return Shown(text) + " limit " + std::to_string(limit); };
            std::vector<uint8_t> field(static_cast<size_t>(limit), 0xAA);
            CTextCodec codec(field.data(), static_cast<uint32_t>(limit));
            ASSERT_EQ(codec.Encode(text, field.data(), limit), 1) << shown();
            const bool fits = total + 1 <= static_cast<size_t>(limit);
            ASSERT_EQ(codec.m_nStatus, fits ? 0 : 2) << shown();
            ASSERT_EQ(codec.m_nLength, fits ? static_cast<int>(total) + 1 : limit) << shown();

            std::string decoded;
            ASSERT_EQ(codec.Decode(decoded, field.data(), limit), 1) << shown();
            ASSERT_EQ(codec.m_nStatus, 0) << shown();
            ASSERT_LE(codec.m_nLength, limit) << shown() << ": no terminator inside the field";
            ASSERT_EQ(decoded, prefix) << shown();
        }
    }
}

TEST_F(RandomCodecTest, NameGettersGiveErrorWhenTheFieldDoesNotFitTheImage) {
    constexpr NameKind kKinds[] = {NameKind::Unit,   NameKind::Pilot,    NameKind::Weapon,
                                   NameKind::Skill,  NameKind::Part,     NameKind::Spirit,
                                   NameKind::Bgm,    NameKind::AceBonus, NameKind::FullBonus,
                                   NameKind::Chapter};
    constexpr size_t kLargest = 0x160000;  // past the end of the last table (the chapters)
    RandomBytes rng(0x4A3E0001);
    std::string image = rng.Bytes(kLargest);
    for (char& c : image) {
        if (static_cast<uint8_t>(c) == 0xFF)
            c = 0x01;  // no terminator: names run their whole field
    }
    const auto fieldEnd = [](NameKind kind, int i) {
        const name_table::Layout layout = name_table::LayoutOf(kind);
        return int64_t{layout.first} + int64_t{layout.stride} * i + layout.length;
    };
    std::vector<size_t> sizes = {0, 1, kLargest};
    for (int n = 0; n < 16; ++n) sizes.push_back(rng.Below(kLargest + 1));
    for (const NameKind kind : kKinds) {
        for (const int i : {0, NameCount(kind) - 1}) {
            const auto end = static_cast<size_t>(fieldEnd(kind, i));
            ASSERT_LE(end, kLargest);
            sizes.insert(sizes.end(), {end - 1, end});
        }
    }
    for (const size_t size : sizes) {
        std::vector<uint8_t> rom = Exact(std::string_view(image).substr(0, size));
        if (!rom.empty() && rng.OneIn(2)) rom.back() = LeadByte(rng);  // a pair cut by the end
        CTextCodec codec(rom.data(), static_cast<uint32_t>(size));
        for (const NameKind kind : kKinds) {
            const int count = NameCount(kind);
            for (const int i : {INT_MIN, -1, 0, count - 1, count, INT_MAX}) {
                const bool fits = i >= 0 && i < count && fieldEnd(kind, i) <= int64_t(size);
                std::string text = "unset";
                const bool ok = GetName(codec, kind, i, text);
                const auto shown = [&] {
                    return "kind " + std::to_string(static_cast<int>(kind)) + " index " +
                           std::to_string(i) + " size " + std::to_string(size);
                };
                ASSERT_EQ(ok, fits) << shown();
                ASSERT_EQ(text == "Error", !fits) << shown();
            }
        }
    }
}


}  // namespace
}  // namespace tsumugi::test

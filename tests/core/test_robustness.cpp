// Seeded random and mutated inputs through every parser and reader of the core. Inputs
// lie in exactly sized heap blocks, so the sanitizers catch any read or write past them;
// results are checked against invariants or against a plain model of the documented rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <vector>

#include "core/address.h"
#include "core/bytes.h"
#include "core/char_table.h"
#include "core/cp932.h"
#include "core/demo_rom.h"
#include "core/file_patcher.h"
#include "core/name_list.h"
#include "core/patch_code.h"
#include "core/settings.h"
#include "core/text_codec.h"
#include "core/workspace.h"
#include "random_bytes.h"
#include "table_fixture.h"
#include "temp_dir.h"

namespace tsumugi::test {
namespace {

using namespace std::string_view_literals;
using tsumugi::testing::ReadBytes;
using tsumugi::testing::TempDir;
using tsumugi::testing::TitledRom;

using CodeMap = PatchCodeList::Map;
using CharMap = std::map<uint16_t, uint16_t>;

constexpr uint32_t kBad = 0xFFFFFFFF;
constexpr std::string_view kHexDigits = "0123456789ABCDEFabcdef";
constexpr std::string_view kHexish = "0123456789ABCDEFabcdefxX";
constexpr uint8_t kFirstLead = 0xC0, kLastLead = 0xFD;

// ---- Models of the documented rules ------------------------------------------------------

int ModelDigit(char c) {
    const size_t at = "0123456789abcdef0123456789ABCDEF"sv.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at % 16);
}

// The hexadecimal rule read forwards: only what follows the last lower-case "x" counts,
// each character of it must be a digit, and the value wraps at 32 bits.
uint32_t ModelHex(std::string_view text) {
    if (const size_t x = text.rfind('x'); x != std::string_view::npos) text.remove_prefix(x + 1);
    uint32_t value = 0;
    for (const char c : text) {
        const int digit = ModelDigit(c);
        if (digit < 0) return kBad;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

std::optional<uint32_t> ModelAddress(std::string_view text) {
    const uint32_t value = ModelHex(text.substr(0, kAddressFieldLength));
    if (value < kGameDataEnd) return value;
    if (value >> 24 == 0x08 || value >> 24 == 0x09) return value - kBusBase;
    return std::nullopt;
}

// Code files: lines end at CR LF, nothing from the first NUL on counts (nor the piece
// before it that has no CR LF), 13-byte lines only, a bus address, a hexadecimal value.
CodeMap ModelCodeText(std::string_view text) {
    const size_t zero = text.find('\0');
    text = text.substr(0, zero);
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string_view::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (zero == std::string_view::npos) lines.push_back(text.substr(start));

    CodeMap codes;
    for (const std::string_view line : lines) {
        if (line.size() != 13) continue;
        const uint32_t address = ModelHex(line.substr(0, 8));
        if (address >> 24 != 0x08 && address >> 24 != 0x09) continue;
        const uint32_t value = ModelHex(line.substr(9, 4));
        if (value == kBad) continue;
        codes[address - kBusBase] = static_cast<uint16_t>(value);
    }
    return codes;
}

struct ModelTable {
    bool ok = true;
    CharMap codes;
};

// string.txt: CR LF lines (one appended), "HH,cc" or "HH LLscc" by the third byte, a short
// or other line ends the table, a wrong length for its kind fails it, first entry wins.
ModelTable ModelCharTable(std::string text) {
    text += "\r\n";
    const auto code = [](std::string_view field) {
        const uint32_t value = ModelHex(field);
        return value == kBad ? 0xFFFFu : value;
    };
    const auto character = [](std::string_view line, size_t at) {
        return static_cast<uint16_t>(static_cast<uint8_t>(line[at]) |
                                     static_cast<uint8_t>(line[at + 1]) << 8);
    };
    ModelTable table;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string_view line(text.data() + start, end - start);
        if (line.size() < 5 || (line[2] != ',' && line[2] != ' ')) break;
        if (line.size() != (line[2] == ',' ? 5u : 8u)) {
            table.ok = false;
            break;
        }
        if (line[2] == ',') {
            table.codes.emplace(static_cast<uint16_t>(code(line.substr(0, 2))), character(line, 3));
        } else {
            const uint32_t key = code(line.substr(3, 2)) * 256 + code(line.substr(0, 2));
            table.codes.emplace(static_cast<uint16_t>(key), character(line, 6));
        }
    }
    return table;
}

std::string CodeLine(uint32_t address, uint32_t value) {
    char line[24];
    std::snprintf(line, sizeof line, "%08X:%04X", address, value & 0xFFFF);
    return line;
}

// A game byte that is seldom the terminator, so that decoding runs to the span's end.
uint8_t GameByte(RandomBytes& rng) {
    const uint8_t b = rng.Byte();
    return b == 0xFF && !rng.OneIn(8) ? static_cast<uint8_t>(rng.Below(0xC0)) : b;
}

uint8_t LeadByte(RandomBytes& rng) {
    return static_cast<uint8_t>(kFirstLead + rng.Below(kLastLead - kFirstLead + 1));
}

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

// ---- Code files, hexadecimal fields, addresses ------------------------------------------

void CheckCodeText(const std::string& text) {
    const std::vector<uint8_t> bytes = Exact(text);
    const PatchCodeList codes = ParseCodeText(bytes.data(), bytes.size());
    for (const auto& [offset, value] : codes) {
        ASSERT_LT(offset, 0x2000000u) << "bus top byte 08 or 09 only: " << Shown(text);
    }
    ASSERT_EQ(CodeMap(codes.begin(), codes.end()), ModelCodeText(text)) << Shown(text);
}

std::string RandomCodeLine(RandomBytes& rng) {
    const uint32_t address = rng.OneIn(6) ? rng.Next() : kBusBase + rng.Below(0x2000000);
    std::string line = CodeLine(address, rng.Next());
    const uint32_t edit = rng.Below(6);
    const size_t at = rng.Below(line.size());
    if (edit == 0) line[at] = rng.From("0123456789AFafxxXg: \x81"sv);
    if (edit == 1) line.erase(at, 1);
    if (edit == 2) line.insert(at, 1, rng.From(kHexish));
    return line;
}

TEST(RandomCodeText, ParseFollowsTheGrammarOnRandomAndMutatedFiles) {
    RandomBytes rng(0xC0DE0001);
    constexpr std::string_view kEnds[] = {"\r\n", "\r\n", "\r\n", "\n", "\r", "\r\r\n", "\0"sv, ""};
    for (int trial = 0; trial < 1500; ++trial) {
        std::string text;
        for (uint32_t n = 0, lines = rng.Below(10); n < lines; ++n)
            text += RandomCodeLine(rng) + std::string(kEnds[rng.Below(std::size(kEnds))]);
        ASSERT_NO_FATAL_FAILURE(CheckCodeText(text));
    }
    for (int trial = 0; trial < 500; ++trial) {
        ASSERT_NO_FATAL_FAILURE(CheckCodeText(rng.Bytes(rng.Below(64))));
        ASSERT_NO_FATAL_FAILURE(CheckCodeText(rng.Text(rng.Below(64), "08:9\r\n\0xF"sv)));
    }
    for (int trial = 0; trial < 400; ++trial) {
        std::string text;
        for (uint32_t n = 0, lines = 1 + rng.Below(20); n < lines; ++n)
            text += CodeLine(kBusBase + rng.Below(0x2000000), rng.Next()) + "\r\n";
        rng.Mutate(text, 1 + static_cast<int>(rng.Below(6)));
        ASSERT_NO_FATAL_FAILURE(CheckCodeText(text));
    }
}

TEST(RandomCodeText, HugeLineCounts) {
    RandomBytes rng(0xC0DE0002);
    std::string valid;
    for (int n = 0; n < 100000; ++n)
        valid += CodeLine(kBusBase + rng.Below(0x2000000), rng.Next()) + "\r\n";
    ASSERT_NO_FATAL_FAILURE(CheckCodeText(valid));
    ASSERT_NO_FATAL_FAILURE(CheckCodeText(valid.substr(0, valid.size() / 2) + '\0' + valid));

    std::string lfOnly = valid;
    std::erase(lfOnly, '\r');
    const std::vector<uint8_t> oneLine = Exact(lfOnly);
    EXPECT_TRUE(ParseCodeText(oneLine.data(), oneLine.size()).Empty());

    std::string blank;
    for (int n = 0; n < 1000000; ++n) blank += "\r\n";
    const std::vector<uint8_t> blankLines = Exact(blank + CodeLine(0x08000010, 0xBEEF));
    const PatchCodeList last = ParseCodeText(blankLines.data(), blankLines.size());
    EXPECT_EQ(CodeMap(last.begin(), last.end()), (CodeMap{{0x10, 0xBEEF}}));
}

TEST(RandomCodeText, WrittenCodeFilesReadBack) {
    RandomBytes rng(0xC0DE0003);
    TempDir dir;
    for (int trial = 0; trial < 40; ++trial) {
        PatchCodeList codes;
        for (uint32_t n = 0, count = rng.Below(30); n < count; ++n)
            codes.Set(rng.OneIn(4) ? rng.Below(64) : rng.Below(0x2000000), uint16_t(rng.Next()));
        const std::string path = dir.File("codes.txt");
        ASSERT_TRUE(WriteCodeFile(codes, path));
        const std::optional<PatchCodeList> read = ReadCodeFile(path);
        ASSERT_TRUE(read);
        ASSERT_EQ(CodeMap(read->begin(), read->end()), CodeMap(codes.begin(), codes.end()));
    }
}

TEST(RandomHex, ParseHexAndParseAddressFollowTheHexRule) {
    RandomBytes rng(0x4E780001);
    constexpr std::string_view kAlphabet = "0123456789abcdefABCDEF0123456789xxXg :\x80\0"sv;
    for (int trial = 0; trial < 20000; ++trial) {
        std::string text;
        if (trial % 3 == 0) {  // around the bus forms
            text = rng.Text(rng.Below(4), "0x 0"sv) + (rng.OneIn(2) ? "8" : "9") +
                   rng.Text(rng.Below(9), kHexDigits);
        } else {
            text = rng.Text(rng.Below(20), kAlphabet);
        }
        ASSERT_EQ(ParseHex(text), ModelHex(text)) << Shown(text);
        const std::optional<uint32_t> address = ParseAddress(text);
        ASSERT_EQ(address, ModelAddress(text)) << Shown(text);
        ASSERT_TRUE(!address || *address < 0x2000000u) << Shown(text);
    }
}

// ---- String walk, path cutting, INI text ---------------------------------------------------

std::optional<uint32_t> ModelSkipFiller(const std::vector<uint8_t>& rom, size_t from) {
    while (from < rom.size() && rom[from] == 0x00) ++from;
    return from < rom.size() ? std::optional<uint32_t>(static_cast<uint32_t>(from)) : std::nullopt;
}

TEST(RandomSearch, StringWalksStayInsideSmallImages) {
    RandomBytes rng(0x5EA4C001);
    for (int trial = 0; trial < 400; ++trial) {
        const size_t size = rng.Below(40);
        std::vector<uint8_t> rom(size);
        for (uint8_t& b : rom) b = static_cast<uint8_t>(rng.From("\x00\x00\x00\xFF\xFF\x41"sv));
        std::vector<uint32_t> offsets = {0xFFFFFF, kGameDataEnd, kBad};
        for (uint32_t at = 0; at <= size + 2; ++at) offsets.push_back(at);
        for (const uint32_t offset : offsets) {
            const auto shown = [&] {
                return Shown({reinterpret_cast<const char*>(rom.data()), size}) + " from " +
                       std::to_string(offset);
            };
            std::optional<uint32_t> next;
            for (size_t i = offset; i < size; ++i) {
                if (rom[i] == 0xFF) {
                    next = ModelSkipFiller(rom, i + 1);
                    break;
                }
            }
            const std::optional<uint32_t> foundNext =
                FindNextString(rom.data(), uint32_t(size), offset);
            ASSERT_EQ(foundNext, next) << shown();

            std::optional<uint32_t> prev;
            const size_t from =
                size == 0 ? 0 : std::min<size_t>(offset, size - 1) + 1;  // offset included
            for (size_t i = from, seen = 0; i-- > 0;) {
                if (rom[i] == 0xFF && ++seen == 2) {
                    prev = ModelSkipFiller(rom, i + 1);
                    break;
                }
            }
            const std::optional<uint32_t> foundPrev =
                FindPrevString(rom.data(), uint32_t(size), offset);
            ASSERT_EQ(foundPrev, prev) << shown();
            ASSERT_TRUE(!foundNext || *foundNext < size) << shown();
            ASSERT_TRUE(!foundPrev || *foundPrev < size) << shown();
        }
    }
}

TEST(RandomPaths, FindLastCharPointsAtTheSoughtByteBeforeTheEnd) {
    RandomBytes rng(0x9A7B0001);
    // Separators, ASCII, NUL, cp932 lead bytes, trail bytes ("\" among them) and kana.
    constexpr std::string_view kAlphabet = "//\\\\ab\0\x81\x9F\xE0\xFC\x40\x7E\x80\xB1"sv;
    for (int trial = 0; trial < 5000; ++trial) {
        const std::string text = rng.Text(rng.Below(24), kAlphabet);
        std::vector<char> terminated(text.size() + 1, '\0');  // exactly the text and its NUL
        std::memcpy(terminated.data(), text.data(), text.size());
        const std::string_view visible(terminated.data());
        const bool ascii =
            visible.find_first_of("\x81\x9F\xE0\xFC\x80\xB1"sv) == std::string_view::npos;
        for (const char byte : {'/', '\\'}) {
            const int at = FindLastChar(terminated.data(), byte);
            const size_t last = visible.rfind(byte);
            if (at >= 0) {
                ASSERT_LT(static_cast<size_t>(at), visible.size()) << Shown(text);
                ASSERT_EQ(visible[static_cast<size_t>(at)], byte) << Shown(text);
            }
            // "/" is never the second byte of a character, and plain ASCII has no pairs.
            if (byte == '/' || ascii) {
                ASSERT_EQ(at, last == std::string_view::npos ? -1 : static_cast<int>(last))
                    << Shown(text);
            }
            const std::string cut = CutAtLastSeparator(text, byte);
            std::string expected = text.substr(0, static_cast<size_t>(std::max(at, 0)));
            if (at < 0) expected = text;
            if (at == 0 && byte == '/') expected = "/";
            ASSERT_EQ(cut, expected) << Shown(text);
        }
    }
}

TEST(RandomCp932, ConvertsOrNamesAPositionInsideTheInput) {
    RandomBytes rng(0xC9320001);
    for (int trial = 0; trial < 2000; ++trial) {
        // Lead bytes, trail bytes, ASCII, kana, the bytes cp932 lacks, and a pair cut at the end.
        const std::string bytes = rng.Text(rng.Below(16),
                                           "\x81\x82\x88\xED\xFA\x40\x5C\x9F\xFC"
                                           "A\r\n\xB1\x80\xA0\xFD\xFF"sv);
        const Cp932Result utf8 = Cp932ToUtf8(bytes);
        if (!utf8.ok) {
            ASSERT_LT(utf8.errorPos, bytes.size()) << Shown(bytes);
            continue;
        }
        // Duplicate codes come back as their standard form; that form is stable.
        const Cp932Result back = Utf8ToCp932(utf8.text);
        ASSERT_TRUE(back.ok) << Shown(bytes);
        const Cp932Result again = Cp932ToUtf8(back.text);
        ASSERT_TRUE(again.ok) << Shown(bytes);
        ASSERT_EQ(again.text, utf8.text) << Shown(bytes);
    }
}

// Lines split at LF with the CRs before it dropped, for comparing texts line by line.
std::vector<std::string> IniLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t lf = text.find('\n', start);
        std::string line =
            text.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
        while (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (lf == std::string::npos) return lines;
        start = lf + 1;
    }
}

bool IsSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
    size_t k = 0;
    for (const std::string& line : whole) {
        if (k < part.size() && part[k] == line) ++k;
    }
    return k == part.size();
}

TEST(RandomIni, SetThenGetGivesTheValueAndKeepsEveryOtherLine) {
    RandomBytes rng(0x1E100001);
    const std::string sections[] = {"Path", "Other", "New"};
    const std::string keys[] = {"Directory", "Other", "Key"};
    std::vector<std::string_view> pieces;  // lines an INI text is made of, "|" between them
    for (const auto piece : std::views::split(
             "[Path]|[ path ]|[Other]|[New|Directory=old| directory = 'q' |Other=1|;Directory=c|"
             "Key|=||[]|Key=\"v\""sv,
             '|'))
        pieces.emplace_back(piece.begin(), piece.end());
    constexpr std::string_view kEnds[] = {"\r\n", "\n", "\r"};
    for (int trial = 0; trial < 3000; ++trial) {
        std::string ini;
        for (uint32_t n = 0, lines = rng.Below(8); n < lines; ++n) {
            ini += rng.OneIn(5) ? rng.Text(rng.Below(8), "[]=; \tPathKey\r\n"sv)
                                : std::string(pieces[rng.Below(pieces.size())]);
            if (n + 1 < lines || rng.OneIn(2)) ini += kEnds[rng.Below(rng.OneIn(8) ? 3 : 2)];
        }
        if (rng.OneIn(4)) rng.Mutate(ini, 1 + static_cast<int>(rng.Below(3)));
        const std::string& section = sections[rng.Below(3)];
        const std::string& key = keys[rng.Below(3)];
        std::string value;
        if (!rng.OneIn(6)) value = "v" + rng.Text(rng.Below(10), "ab/ \t=;[]'\"\x82\xA0"sv) + "/";

        const std::string set = IniSet(ini, section, key, value);
        const auto shown = [&] {
            return Shown(ini) + " [" + section + "] " + key + "=" + Shown(value);
        };
        ASSERT_EQ(IniGet(set, section, key), value) << shown();
        ASSERT_EQ(IniSet(set, section, key, value), set) << shown();
        for (const std::string& other : sections) {
            if (other == section) continue;
            for (const std::string& otherKey : keys)
                ASSERT_EQ(IniGet(set, other, otherKey), IniGet(ini, other, otherKey)) << shown();
        }
        // Either one line changed in place, or lines were only added.
        const std::vector<std::string> before = IniLines(ini), after = IniLines(set);
        if (before.size() == after.size()) {
            size_t changed = 0;
            for (size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
            ASSERT_LE(changed, 1u) << shown();
        } else {
            ASSERT_TRUE(IsSubsequence(before, after)) << shown() << " -> " << Shown(set);
        }
    }
}

// ---- Region compare, file patching, code loading -----------------------------------------

TEST(RandomDiff, DiffRegionCodesExactlyTheChangedWords) {
    RandomBytes rng(0xD1FF0001);
    for (int trial = 0; trial < 160; ++trial) {
        const uint32_t length = trial % 2 ? rng.Below(41) : 4097 + rng.Below(6000);
        const std::vector<uint8_t> copy = Exact(rng.Bytes(length));
        std::vector<uint8_t> current = copy;
        for (uint32_t n = 0, changes = length ? rng.Below(12) : 0; n < changes; ++n) {
            uint32_t at = rng.Below(length);
            if (rng.OneIn(3)) {  // around the edge of a compared chunk
                const uint32_t edge = 256 * (1 + rng.Below(length / 256 + 1));
                at = std::min(length - 1, edge - 1 + rng.Below(3));
            }
            current[at] =
                rng.OneIn(4) ? copy[at] : static_cast<uint8_t>(copy[at] ^ (1 + rng.Below(255)));
        }
        if (length && rng.OneIn(3)) current[length - 1] ^= 0x5A;
        const uint32_t offset = rng.Below(kGameDataEnd);

        PatchCodeList codes;
        CodeMap expected;
        for (uint32_t n = 0, seeded = rng.Below(4); n < seeded; ++n) {
            const uint32_t at = offset + rng.Below(length + 4);
            const auto value = static_cast<uint16_t>(rng.Next());
            codes.Set(at, value);
            expected[at] = value;
        }
        ASSERT_TRUE(DiffRegion(copy.data(), current.data(), offset, length, codes));
        for (uint32_t i = 0; i + 1 < length; i += 2) {
            if (copy[i] != current[i] || copy[i + 1] != current[i + 1])
                expected[offset + i] = static_cast<uint16_t>(current[i] | current[i + 1] << 8);
        }
        if (length % 2 && copy[length - 1] != current[length - 1])
            expected[offset + length - 1] = static_cast<uint16_t>(0xFF00 | current[length - 1]);
        ASSERT_EQ(CodeMap(codes.begin(), codes.end()), expected) << "length " << length;
    }
}

TEST(RandomFilePatcher, ApplyWritesWhatTheModelWritesAndNeverGrowsTheFile) {
    RandomBytes rng(0xF11E0001);
    TempDir dir;
    ASSERT_FALSE(dir.Path().empty());
    for (int trial = 0; trial < 60; ++trial) {
        const size_t size = rng.Below(48);
        std::vector<uint8_t> model = Exact(rng.Bytes(size));
        const std::string path = dir.Write("file.bin", model);
        FilePatcher patcher;
        std::map<uint32_t, std::pair<uint32_t, uint32_t>> entries;  // offset -> value, length
        for (uint32_t n = 0, count = rng.Below(14); n < count; ++n) {
            const uint32_t offset = rng.Below(size + 8);
            const uint32_t value = rng.Next();
            const uint32_t length = rng.Below(6);
            const bool accepted = length >= 1 && length <= 4 && !entries.contains(offset);
            ASSERT_EQ(patcher.AddEntry(offset, value, length), accepted);
            if (accepted) entries[offset] = {value, length};
        }
        size_t pastEnd = 0;
        for (const auto& [offset, entry] : entries) {  // ascending: the higher entry wins
            if (offset >= size) ++pastEnd;
            for (uint32_t j = 0; j < entry.second && offset + j < size; ++j)
                model[offset + j] = static_cast<uint8_t>(entry.first >> (8 * j));
        }
        size_t skipped = 99;
        ASSERT_TRUE(patcher.Apply(path, &skipped));
        EXPECT_EQ(skipped, pastEnd);
        ASSERT_EQ(ReadBytes(path), model) << "trial " << trial;
    }
}

// Says no to lengthening and notes the sizes asked for. The ROM is titled, so a title
// question would fail its load.
struct DecliningQuestions : WorkspaceQuestions {
    bool AcceptWrongTitle() override { return false; }
    bool AcceptExtend(uint32_t newSize) override {
        extendAsked.push_back(newSize);
        return false;
    }
    std::vector<uint32_t> extendAsked;
};

TEST(RandomRomImage, TitleIsReadOnlyFromAnImageLongEnoughToHoldIt) {
    for (uint32_t size = 0; size <= rom_header::kMinimumSize + 8; ++size) {
        const std::vector<uint8_t> rom = TitledRom(size);  // exactly sized
        EXPECT_EQ(RomImage::TitleMatches(rom.data(), size), size >= rom_header::kMinimumSize);
    }
}

TEST(RandomWorkspace, DeclinedLengtheningLeavesTheRomAloneOnDiskAndInMemory) {
    constexpr uint32_t kSize = 0x200;
    RandomBytes rng(0x3E5A0001);
    TempDir dir;
    const std::vector<uint8_t> original = TitledRom(kSize);
    const std::string romPath = dir.Write("rom.gba", original);
    DecliningQuestions q;
    Workspace ws;
    ASSERT_TRUE(ws.LoadRom(romPath, q));
    std::vector<uint8_t> memory = original;
    CodeMap recorded;
    for (int trial = 0; trial < 80; ++trial) {
        std::string text;
        for (uint32_t n = 0, lines = rng.Below(8); n < lines; ++n) {
            const uint32_t offset =
                rng.OneIn(6) ? kSize - 1 + rng.Below(0x2000000 - kSize) : rng.Below(kSize);
            text += CodeLine(kBusBase + offset, rng.Next()) + "\r\n";
        }
        if (rng.OneIn(3)) rng.Mutate(text, 1 + static_cast<int>(rng.Below(3)));
        const CodeMap parsed = ModelCodeText(text);
        q.extendAsked.clear();
        const LoadCodesResult result = ws.LoadCodes(dir.Write("codes.txt", text), q);
        if (!parsed.empty() && parsed.rbegin()->first + 2 > kSize) {
            ASSERT_EQ(result, LoadCodesResult::ExtendDeclined) << Shown(text);
            ASSERT_EQ(q.extendAsked, std::vector<uint32_t>{parsed.rbegin()->first + 2});
        } else {
            ASSERT_EQ(result, LoadCodesResult::Applied) << Shown(text);
            ASSERT_TRUE(q.extendAsked.empty());
            for (const auto& [offset, value] : parsed) {
                Write16(memory.data() + offset, value);
                recorded[offset] = value;
            }
        }
        ASSERT_EQ(ws.m_rom.m_nSize, kSize);
        ASSERT_EQ(std::vector<uint8_t>(ws.m_rom.m_pData, ws.m_rom.m_pData + kSize), memory)
            << Shown(text);
        ASSERT_EQ(CodeMap(ws.m_codes.begin(), ws.m_codes.end()), recorded) << Shown(text);
        ASSERT_EQ(ReadBytes(romPath), original);
    }
}

}  // namespace
}  // namespace tsumugi::test

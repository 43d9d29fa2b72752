// Seeded random and mutated files and fields through the code-file reader, the hexadecimal
// and address fields, the string walk, path cutting, INI text, region comparison, file
// patching and code loading, checked against invariants or plain models of the rules.
#include <gtest/gtest.h>

#include "reference_models.h"

namespace tsumugi::test {
namespace {

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
    constexpr std::string_view kLines =
        "[Path]|[ path ]|[Other]|[New|Directory=old| directory = 'q' |Other=1|;Directory=c|"
        "Key|=||[]|Key=\"v\""sv;
    for (size_t start = 0;;) {
        const size_t bar = kLines.find('|', start);
        pieces.push_back(kLines.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
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
        // A recorded word hands its bytes to the codes that share one with it.
        const auto record = [&expected](uint32_t at, uint16_t value) {
            expected[at] = value;
            if (const auto below = expected.find(at - 1); at > 0 && below != expected.end())
                below->second = static_cast<uint16_t>((below->second & 0xFF) | (value & 0xFF) << 8);
            if (const auto above = expected.find(at + 1); above != expected.end())
                above->second = static_cast<uint16_t>((above->second & 0xFF00) | value >> 8);
        };
        for (uint32_t i = 0; i + 1 < length; i += 2) {
            if (copy[i] != current[i] || copy[i + 1] != current[i + 1])
                record(offset + i, static_cast<uint16_t>(current[i] | current[i + 1] << 8));
        }
        if (length % 2 && copy[length - 1] != current[length - 1])
            record(offset + length - 1, static_cast<uint16_t>(0xFF00 | current[length - 1]));
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
            // Every code carries the bytes memory holds, also where codes share a byte.
            for (auto& [offset, value] : recorded) value = Read16(memory.data() + offset);
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

// The text commands: decode, encode, names, and demo.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/cli.h"
#include "core/address.h"
#include "core/char_table.h"
#include "core/cp932.h"
#include "demo/rom.h"
#include "core/name_list.h"
#include "core/text_codec.h"

namespace tsumugi::cli {
namespace {

constexpr int kDefaultLimit = 256;

struct KindName {
    const char* name;
    NameKind kind;
};
constexpr KindName kKinds[] = {
    {"unit", NameKind::Unit},
    {"pilot", NameKind::Pilot},
    {"weapon", NameKind::Weapon},
    {"skill", NameKind::Skill},
    {"part", NameKind::Part},
    {"spirit", NameKind::Spirit},
    {"bgm", NameKind::Bgm},
    {"ace-bonus", NameKind::AceBonus},
    {"full-bonus", NameKind::FullBonus},
    {"chapter", NameKind::Chapter},
};

// The codec's status members as the JSON fields that follow the text or the bytes.
std::string StatusJson(const CTextCodec& codec, const std::string& errorText) {
    return ",\"status\":" + std::to_string(codec.m_nStatus) +
           ",\"length\":" + std::to_string(codec.m_nLength) +
           ",\"error_pos\":" + std::to_string(codec.m_nErrorPos) +
           ",\"error_text\":" + JsonString(errorText) + "}\n";
}

std::string HexBytes(const uint8_t* bytes, int count) {
    std::string out;
    char hex[4];
    for (int i = 0; i < count; ++i) {
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        if (i > 0) out += ' ';
        out += hex;
    }
    return out;
}

// The text as the codec takes it: UTF-8 to cp932, each line break (a newline, CR LF, or
// the two characters backslash and n) as CR LF.
std::optional<std::string> DisplayText(std::string utf8) {
    ReplaceAll(utf8, "\r\n", "\n");
    ReplaceAll(utf8, "\\n", "\n");
    ReplaceAll(utf8, "\n", "\r\n");
    Cp932Result result = Utf8ToCp932(utf8);
    if (!result.ok) {
        Fail("the character \"" + result.errorChar + "\" at byte " +
             std::to_string(result.errorPos) + " has no cp932 form");
        return std::nullopt;
    }
    return std::move(result.text);
}

}  // namespace

int Decode(const Args& args) {
    RomImage rom;
    if (!LoadRom(args.words[1], args.force, rom)) return kExitFailure;
    const std::optional<uint32_t> offset = ParseAddress(args.words[2]);
    if (!offset) {
        return Fail("invalid address " + args.words[2] +
                    ": give a file offset up to FFFFFF or a bus address 08000000-09FFFFFF in hex");
    }
    if (*offset >= rom.m_nSize) {
        return Fail("the address " + Hex8(*offset) + " lies past the end of the ROM (" +
                    Hex8(rom.m_nSize) + " bytes)");
    }
    if (!LoadTable()) return kExitFailure;
    CTextCodec codec(rom.m_pData, rom.m_nSize);
    std::string text;
    if (codec.Decode(text, rom.m_pData + *offset, args.limit.value_or(kDefaultLimit)) == 0) {
        return Fail("cannot load the character table " + CharTable::Path());
    }
    const std::string shown = ToDisplay(text);
    if (args.json) {
        const std::string errorText = codec.m_nStatus == 1 ? codec.m_szErrorText : "";
        Print("{\"text\":" + JsonString(shown) + StatusJson(codec, errorText));
    } else {
        Print(shown + "\n");
    }
    if (codec.m_nStatus == 1) {
        std::fprintf(stderr,
                     "tsumugi-cli: the table lacks game code %s (byte %d), shown as a dot\n",
                     codec.m_szErrorText, codec.m_nErrorPos);
    }
    return kExitOk;
}

int Encode(const Args& args) {
    const std::optional<std::string> text = DisplayText(args.words[1]);
    if (!text) return kExitFailure;
    if (!LoadTable()) return kExitFailure;
    const int limit = args.limit.value_or(kDefaultLimit);
    std::vector<uint8_t> bytes(static_cast<size_t>(limit), 0x00);
    CTextCodec codec(nullptr, 0);
    const int ok = codec.Encode(*text, bytes.data(), limit);
    const int written = ok ? codec.m_nLength : 0;
    const std::string errorText = ok ? "" : ToDisplay(codec.m_szErrorText);
    if (args.json) {
        const std::string hex = HexBytes(bytes.data(), written);
        Print("{\"bytes\":" + JsonString(hex) + StatusJson(codec, errorText));
    } else if (ok) {
        Print(HexBytes(bytes.data(), written) + "\n");
    }
    if (!ok) {
        return Fail("no game code for \"" + errorText + "\" at byte " +
                    std::to_string(codec.m_nErrorPos));
    }
    if (codec.m_nStatus == 2) {
        std::fprintf(stderr, "tsumugi-cli: the text was cut to fit %d bytes\n", limit);
    }
    return kExitOk;
}

int Names(const Args& args) {
    const KindName* kind = nullptr;
    for (const KindName& k : kKinds) {
        if (args.words[2] == k.name) kind = &k;
    }
    if (!kind) {
        std::fprintf(stderr, "tsumugi-cli: unknown kind %s\n%s", args.words[2].c_str(), Usage());
        return kExitUsage;
    }
    RomImage rom;
    if (!LoadRom(args.words[1], args.force, rom)) return kExitFailure;
    if (!LoadTable()) return kExitFailure;
    CTextCodec codec(rom.m_pData, rom.m_nSize);
    const std::vector<std::string> names = NameList(codec, kind->kind);
    std::string out;
    for (size_t i = 0; i < names.size(); ++i) {
        out += std::to_string(i) + "\t" + ToDisplay(names[i], true) + "\n";
    }
    Print(out);
    // Names whose field the image does not hold read as "Error"; say why.
    const name_table::Layout layout = name_table::LayoutOf(kind->kind);
    const uint64_t tableEnd =
        uint64_t{layout.first} + uint64_t{layout.stride} * (layout.count - 1) + layout.length;
    if (tableEnd > rom.m_nSize) {
        std::fprintf(stderr,
                     "tsumugi-cli: the ROM ends at %s, before the end of the %s name table at "
                     "%s; the names it does not hold read as Error\n",
                     Hex8(rom.m_nSize).c_str(), kind->name,
                     Hex8(static_cast<uint32_t>(tableEnd)).c_str());
    }
    return kExitOk;
}

int Demo(const Args& args) {
    const std::string& dir = args.words[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) return Fail("cannot create the folder " + dir + ": " + error.message());
    if (!demo::WriteDemo(dir)) return Fail("cannot write demo.gba and string.txt into " + dir);
    return kExitOk;
}

}  // namespace tsumugi::cli

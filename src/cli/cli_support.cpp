// Pieces every command uses: messages, loading the ROM and the character table, and turning
// cp932 text into something a terminal or a JSON reader can take.
#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "cli/cli.h"
#include "core/char_table.h"
#include "core/cp932.h"
#include "core/file_io.h"
#include "core/text_codec.h"

namespace tsumugi::cli {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

std::string Hex8(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "tsumugi-cli: %s\n", message.c_str());
    return kExitFailure;
}

namespace {

// The length checks every way of opening a ROM makes first; nullopt after telling the user.
std::optional<uint32_t> CheckRomLength(const std::string& path) {
    const std::optional<uint64_t> length = FileLength(path);
    if (!length) {
        Fail("cannot open the ROM file " + path);
        return std::nullopt;
    }
    if (*length == 0) {
        Fail("the ROM file " + path + " is empty");
        return std::nullopt;
    }
    if (*length > UINT32_MAX) {
        Fail("the ROM file " + path + " is larger than 4 GiB");
        return std::nullopt;
    }
    return static_cast<uint32_t>(*length);
}

void WarnWrongTitle(const std::string& path) {
    std::fprintf(stderr, "tsumugi-cli: %s: not this game's title; read anyway\n", path.c_str());
}

// The refusal of a file whose title is not the game's, `length` bytes long.
void RefuseWrongTitle(const std::string& path, uint64_t length) {
    if (length < rom_header::kMinimumSize) {
        Fail("the ROM file " + path + " is only " + std::to_string(length) +
             " bytes long, too short to hold a cartridge title (--force reads it anyway)");
    } else {
        Fail(path +
             " is not a ROM of this game: its title at 0xA0 is not \"PLDNX4\" "
             "(--force reads it anyway)");
    }
}

// Accepts the header (the file's first `size` bytes, or fewer when it is shorter) of a file
// `length` bytes long, warning about or refusing a title that is not the game's.
bool AcceptTitle(const std::string& path, const uint8_t* header, uint32_t size, uint64_t length,
                 bool force) {
    if (RomImage::TitleMatches(header, size)) return true;
    if (!force) {
        RefuseWrongTitle(path, length);
        return false;
    }
    WarnWrongTitle(path);
    return true;
}

}  // namespace

bool LoadRom(const std::string& path, bool force, RomImage& rom) {
    const std::optional<uint32_t> length = CheckRomLength(path);
    if (!length) return false;
    bool wrongTitle = false;
    const bool loaded = rom.Load(path, [&wrongTitle, force] {
        wrongTitle = true;
        return force;
    });
    if (loaded) {
        if (wrongTitle) WarnWrongTitle(path);
        return true;
    }
    if (!wrongTitle) {
        Fail("cannot read the ROM file " + path);
    } else {
        RefuseWrongTitle(path, *length);
    }
    return false;
}

bool MapRom(const std::string& path, bool force, MappedFile& rom) {
    const std::optional<uint32_t> length = CheckRomLength(path);
    if (!length) return false;
    if (!rom.Open(path) || rom.Size() == 0) {
        rom.Close();
        Fail("cannot read the ROM file " + path);
        return false;
    }
    const uint32_t head =
        std::min<uint32_t>(static_cast<uint32_t>(rom.Size()), rom_header::kMinimumSize);
    rom.Prefetch(0, head);
    if (!AcceptTitle(path, rom.Data(), head, rom.Size(), force)) {
        rom.Close();
        return false;
    }
    return true;
}

std::optional<uint32_t> CheckRomFile(const std::string& path, bool force) {
    const std::optional<uint32_t> length = CheckRomLength(path);
    if (!length) return std::nullopt;
    uint64_t actual = 0;
    FileHandle file(OpenRegularFile(path, actual));
    uint8_t header[rom_header::kMinimumSize] = {};
    const uint32_t want = std::min<uint32_t>(*length, rom_header::kMinimumSize);
    if (!file.IsOpen() || !ReadAllAt(file.Get(), header, want, 0)) {
        Fail("cannot read the ROM file " + path);
        return std::nullopt;
    }
    if (!AcceptTitle(path, header, want, *length, force)) return std::nullopt;
    return length;
}

bool LoadTable() {
    CharTable& table = CharTable::Instance();
    if (table.m_bLoaded) return true;
    CTextCodec codec(nullptr, 0);
    if (codec.LoadTable()) {
        table.m_bLoaded = true;
        return true;
    }
    const std::string path = CharTable::Path();
    if (!ReadWholeFile(path)) {
        Fail("cannot read the character table " + path + " (--table PATH names another)");
    } else {
        Fail("the character table " + path + " has a malformed entry line");
    }
    return false;
}

std::string ToDisplay(std::string_view cp932, bool escapeNewline) {
    std::string out = Cp932ToUtf8Escaped(cp932);
    ReplaceAll(out, "\r\n", escapeNewline ? "\\n" : "\n");
    return out;
}

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto b = static_cast<uint8_t>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (b < 0x20 || b == 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04X", b);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

}  // namespace tsumugi::cli

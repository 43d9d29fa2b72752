// Pieces every command uses: messages, loading the ROM and the character table, and turning
// cp932 text into something a terminal or a JSON reader can take.
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

bool LoadRom(const std::string& path, bool force, RomImage& rom) {
    const std::optional<uint64_t> length = FileLength(path);
    if (!length) {
        Fail("cannot open the ROM file " + path);
        return false;
    }
    if (*length == 0) {
        Fail("the ROM file " + path + " is empty");
        return false;
    }
    if (*length > UINT32_MAX) {
        Fail("the ROM file " + path + " is larger than 4 GiB");
        return false;
    }
    bool wrongTitle = false;
    const bool loaded = rom.Load(path, [&wrongTitle, force] {
        wrongTitle = true;
        return force;
    });
    if (loaded) {
        if (wrongTitle)
            std::fprintf(stderr, "tsumugi-cli: %s: not this game's title; read anyway\n",
                         path.c_str());
        return true;
    }
    if (!wrongTitle) {
        Fail("cannot read the ROM file " + path);
    } else if (*length < rom_header::kMinimumSize) {
        Fail("the ROM file " + path + " is only " + std::to_string(*length) +
             " bytes long, too short to hold a cartridge title (--force reads it anyway)");
    } else {
        Fail(path +
             " is not a ROM of this game: its title at 0xA0 is not \"PLDNX4\" "
             "(--force reads it anyway)");
    }
    return false;
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
    std::string out;
    size_t pos = 0;
    while (pos < cp932.size()) {
        const std::string_view rest = cp932.substr(pos);
        const Cp932Result whole = Cp932ToUtf8(rest);
        if (whole.ok) {
            out += whole.text;
            break;
        }
        const size_t bad = whole.errorPos < rest.size() ? whole.errorPos : rest.size() - 1;
        const Cp932Result head = Cp932ToUtf8(rest.substr(0, bad));
        if (head.ok) out += head.text;
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<uint8_t>(rest[bad]));
        out += escaped;
        pos += bad + 1;
    }
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

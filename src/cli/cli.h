#pragma once
// tsumugi-cli: the ROM data core on the command line. Texts in and out are UTF-8; exit code 0
// on success, 1 on a failure (with a message on stderr), 2 on a usage error.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/mapped_file.h"
#include "core/rom_image.h"

namespace tsumugi {
struct ApplyReport;
class PatchCodeList;
}  // namespace tsumugi

namespace tsumugi::cli {

constexpr int kExitOk = 0, kExitFailure = 1, kExitUsage = 2;

struct Args {
    std::vector<std::string> words;  // the command and its operands, in order
    std::optional<std::string> table;
    std::optional<std::string> output;
    std::optional<std::string> codes;  // --codes FILE
    std::optional<std::string> bps;    // --bps FILE
    std::optional<std::string> ips;    // --ips FILE
    std::optional<int> limit;
    bool json = false;
    bool force = false;
    bool extend = false;
    bool bom = false;  // --bom: a CSV starts with a byte-order mark
    bool help = false;
};

// Splits the command line. nullopt with `error` set on an unknown option or a missing or
// bad option value.
std::optional<Args> ParseArgs(const std::vector<std::string>& argv, std::string& error);

// The usage text.
const char* Usage();

// Runs the whole program on the arguments after the program name.
int Run(const std::vector<std::string>& argv);

// ---- Commands (argument counts and options already checked) -----------------------------
int Decode(const Args& args);
int Encode(const Args& args);
int Names(const Args& args);
int Demo(const Args& args);
int CodesDiff(const Args& args);
int CodesApply(const Args& args);
int CodesWrite(const Args& args);
int CodesExplain(const Args& args);
int CodesExport(const Args& args);
int PatchApply(const Args& args);
int TableList(const Args& args);
int TableExport(const Args& args);
int TableImport(const Args& args);
int JournalShow(const Args& args);
int JournalCodes(const Args& args);

// What a `codes write` that failed did: how many codes were written and how many not, and
// the codes themselves as runs of neighbours that met the same fate, one line each.
std::string DescribeFailedWrite(const PatchCodeList& codes, const ApplyReport& report);

// ---- Shared pieces ----------------------------------------------------------------------

// Prints "tsumugi-cli: " and the message on stderr; returns kExitFailure.
int Fail(const std::string& message);

// Loads a ROM file into rom, refusing a wrong cartridge title unless force is set. Tells the
// user why on failure.
bool LoadRom(const std::string& path, bool force, RomImage& rom);

// The same checks with the file mapped read-only instead of read into memory.
bool MapRom(const std::string& path, bool force, MappedFile& rom);

// The same checks reading only the file's header: its length, or nullopt after telling the
// user why.
std::optional<uint32_t> CheckRomFile(const std::string& path, bool force);

// Loads the character table unless it is loaded; tells the user on failure.
bool LoadTable();

// cp932 text as UTF-8 for the terminal: CR LF becomes LF (or the two characters "\n" when
// escapeNewline is set); bytes that are not cp932 are shown as "\xNN".
std::string ToDisplay(std::string_view cp932, bool escapeNewline = false);

// Writes text to stdout as it is.
void Print(const std::string& text);

// Replaces every occurrence of `from` in text.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to);

// "0x%08X".
std::string Hex8(uint32_t value);

// A JSON string literal of UTF-8 text.
std::string JsonString(std::string_view utf8);

}  // namespace tsumugi::cli

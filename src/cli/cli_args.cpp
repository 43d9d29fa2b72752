// The command line: options, the command table and the dispatch.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/cli.h"
#include "core/char_table.h"

namespace tsumugi::cli {
namespace {

enum Option : unsigned {
    kLimit = 1u << 0,
    kJson = 1u << 1,
    kOutput = 1u << 2,
    kExtend = 1u << 3,
    kForce = 1u << 4,
    kCodes = 1u << 5,
    kBps = 1u << 6,
    kIps = 1u << 7,
    kBom = 1u << 8,
};

// No text is longer than the game's data; a larger limit would only cost memory.
constexpr long long kMaxLimit = 0x1000000;

struct Command {
    const char* name;
    const char* sub;  // the word after "codes", "table" or "patch", or null
    size_t operands;  // words after the command (and sub-command)
    unsigned options;
    bool needsOutput;
    int (*run)(const Args&);
};

constexpr Command kCommands[] = {
    {"decode", nullptr, 2, kLimit | kJson | kForce, false, Decode},
    {"encode", nullptr, 1, kLimit | kJson, false, Encode},
    {"names", nullptr, 2, kForce, false, Names},
    {"demo", nullptr, 1, 0, false, Demo},
    {"codes", "diff", 2, kOutput | kForce, false, CodesDiff},
    {"codes", "apply", 2, kOutput | kExtend | kForce, true, CodesApply},
    {"codes", "write", 2, kForce, false, CodesWrite},
    {"codes", "explain", 2, kJson | kForce, false, CodesExplain},
    {"codes", "export", 2, kBps | kIps | kForce, false, CodesExport},
    {"patch", "apply", 2, kOutput | kForce, true, PatchApply},
    {"table", "list", 0, 0, false, TableList},
    {"table", "export", 2, kOutput | kForce | kBom, false, TableExport},
    {"table", "import", 3, kOutput | kCodes | kForce, false, TableImport},
    {"journal", "show", 1, 0, false, JournalShow},
    {"journal", "codes", 1, kOutput | kForce, true, JournalCodes},
};

constexpr char kUsage[] =
    "usage: tsumugi-cli [--table PATH] COMMAND ...\n"
    "\n"
    "  decode ROM ADDRESS [--limit N] [--json]   the game text at ADDRESS as UTF-8\n"
    "  encode TEXT [--limit N] [--json]          the game bytes of TEXT (\\n: line break)\n"
    "  names ROM KIND                            INDEX<TAB>NAME of a whole name table;\n"
    "        KIND: unit pilot weapon skill part spirit bgm ace-bonus full-bonus chapter\n"
    "  codes diff OLD NEW [-o FILE]              the code file of every word NEW changes\n"
    "  codes apply ROM CODEFILE -o OUT [--extend]  ROM with the codes applied, written to OUT\n"
    "  codes write ROM CODEFILE                  writes the coded words into ROM in place\n"
    "  codes explain ROM CODEFILE [--json]       names the field and values of every code\n"
    "  codes export ROM CODEFILE --bps|--ips OUT  the codes as a BPS or IPS patch\n"
    "  patch apply ROM PATCH -o OUT              ROM with a BPS or IPS patch applied\n"
    "  table list                                the tables that export, with record counts\n"
    "  table export ROM TABLE [-o FILE] [--bom]  a table as UTF-8 CSV (--bom: with a byte-order\n"
    "                                            mark, which spreadsheets need to read UTF-8)\n"
    "  table import ROM TABLE CSV (-o OUT | --codes FILE)  a CSV checked and written back\n"
    "  journal show ROM                          the steps the editor journalled for ROM\n"
    "  journal codes ROM -o FILE                 the codes after the journal's last step\n"
    "  demo DIR                                  writes demo.gba and string.txt into DIR\n"
    "\n"
    "  --table PATH  the character table (default: string.txt beside the program)\n"
    "  --force       read a ROM whose cartridge title is not the game's\n"
    "  --limit N     bytes of game text to read or write (default 256)\n"
    "  ADDRESS       a file offset up to FFFFFF or a bus address 08000000-09FFFFFF, in hex\n";

std::optional<int> ParseLimit(const std::string& text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kMaxLimit) return std::nullopt;
    return static_cast<int>(value);
}

unsigned OptionsGiven(const Args& args) {
    return (args.limit ? kLimit : 0u) | (args.json ? kJson : 0u) | (args.output ? kOutput : 0u) |
           (args.extend ? kExtend : 0u) | (args.force ? kForce : 0u) | (args.codes ? kCodes : 0u) | (args.bps ? kBps : 0u) |
           (args.ips ? kIps : 0u) | (args.bom ? kBom : 0u);
}

// What a command printed must have reached its reader: a full disk or a closed pipe
// behind stdout turns success into failure.
int FlushOutput(int code) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return code;
    const int error = errno;
    Fail(std::string("cannot write the output") + (error ? ": " + std::string(std::strerror(error)) : ""));
    return code == kExitOk ? kExitFailure : code;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "tsumugi-cli: %s\n%s", message.c_str(), kUsage);
    return kExitUsage;
}

}  // namespace

const char* Usage() { return kUsage; }

std::optional<Args> ParseArgs(const std::vector<std::string>& argv, std::string& error) {
    Args args;
    bool optionsEnded = false;
    for (size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            args.words.push_back(a);
            continue;
        }
        const bool takesValue = a == "--table" || a == "--limit" || a == "-o" || a == "--output" ||
                                a == "--codes" || a == "--bps" || a == "--ips";
        if (takesValue && i + 1 >= argv.size()) {
            error = a + " needs a value";
            return std::nullopt;
        }
        if (a == "--") {
            optionsEnded = true;
        } else if (a == "--table") {
            args.table = argv[++i];
        } else if (a == "-o" || a == "--output") {
            args.output = argv[++i];
        } else if (a == "--codes") {
            args.codes = argv[++i];
        } else if (a == "--bps") {
            args.bps = argv[++i];
        } else if (a == "--ips") {
            args.ips = argv[++i];
        } else if (a == "--limit") {
            args.limit = ParseLimit(argv[++i]);
            if (!args.limit) {
                error = "--limit takes a whole number from 1 to " + std::to_string(kMaxLimit);
                return std::nullopt;
            }
        } else if (a == "--json") {
            args.json = true;
        } else if (a == "--force") {
            args.force = true;
        } else if (a == "--extend") {
            args.extend = true;
        } else if (a == "--bom") {
            args.bom = true;
        } else if (a == "-h" || a == "--help") {
            args.help = true;
        } else {
            error = "unknown option " + a;
            return std::nullopt;
        }
    }
    return args;
}

int Run(const std::vector<std::string>& argv) {
    std::string error;
    const std::optional<Args> parsed = ParseArgs(argv, error);
    if (!parsed) return UsageError(error);
    const Args& args = *parsed;
    if (args.help) {
        std::fputs(kUsage, stdout);
        return FlushOutput(kExitOk);
    }
    if (args.words.empty()) return UsageError("no command");
    for (const Command& c : kCommands) {
        if (args.words[0] != c.name) continue;
        const size_t skip = c.sub ? 2 : 1;
        if (c.sub && (args.words.size() < 2 || args.words[1] != c.sub)) continue;
        const std::string name = c.sub ? std::string(c.name) + " " + c.sub : c.name;
        if (args.words.size() != skip + c.operands)
            return UsageError(name + ": wrong number of arguments");
        if ((OptionsGiven(args) & ~c.options) != 0)
            return UsageError(name + ": option not allowed here");
        if (c.needsOutput && !args.output) return UsageError(name + " needs -o OUT");
        if (args.table) CharTable::SetPath(*args.table);
        return FlushOutput(c.run(args));
    }
    return UsageError(
        "unknown command " + args.words[0] +
        ((args.words[0] == "codes" || args.words[0] == "table" || args.words[0] == "patch" ||
          args.words[0] == "journal") &&
                 args.words.size() > 1
             ? " " + args.words[1]
             : ""));
}

}  // namespace tsumugi::cli

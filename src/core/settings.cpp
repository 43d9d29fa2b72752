#include "core/settings.h"

#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

#include "core/file_io.h"
#include "core/narrow_full_width.h"
#include "core/platform.h"
#include "core/user_config_folder.h"
#include "core/user_files.h"

namespace tsumugi {

namespace {

constexpr char kSettingsFile[] = "option.ini";
constexpr char kFolderSection[] = "Path";
constexpr char kFolderKey[] = "Directory";
constexpr char kNewFileLineEnd[] = "\r\n";

std::string& ProgramFolderOverride() {
    static std::string folder;
    return folder;
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (std::tolower(ca) != std::tolower(cb)) return false;
    }
    return true;
}

// One line of the INI text: [begin, end) without its line end.
struct IniLine {
    size_t begin;
    size_t end;
};

std::vector<IniLine> SplitLines(const std::string& ini) {
    std::vector<IniLine> lines;
    size_t begin = 0;
    while (begin < ini.size()) {
        size_t lf = ini.find('\n', begin);
        if (lf == std::string::npos) lf = ini.size();
        size_t end = lf;
        if (end > begin && ini[end - 1] == '\r') --end;
        lines.push_back({begin, end});
        begin = lf + 1;
    }
    return lines;
}

std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
    line = Trim(line);
    return !line.empty() && line.front() == ';';
}

// Where a key sits: the line, and where its value starts and ends inside the text.
struct KeyPlace {
    size_t line;
    size_t valueBegin;
    size_t valueEnd;
};

struct IniLookup {
    std::optional<size_t> sectionLine;
    std::optional<size_t> lastLineOfSection;  // the last non-blank line of the section
    std::optional<KeyPlace> key;
};

IniLookup Find(const std::string& ini, const std::vector<IniLine>& lines,
               std::string_view section, std::string_view key) {
    IniLookup found;
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line(ini.data() + lines[i].begin, lines[i].end - lines[i].begin);
        if (const auto name = SectionName(line)) {
            if (found.sectionLine) break;  // the first section of that name is the one read
            inSection = SameName(*name, section);
            if (inSection) {
                found.sectionLine = i;
                found.lastLineOfSection = i;
            }
            continue;
        }
        if (!inSection || Trim(line).empty()) continue;
        found.lastLineOfSection = i;
        if (IsComment(line)) continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || !SameName(Trim(line.substr(0, equals)), key))
            continue;
        const std::string_view raw = line.substr(equals + 1);
        const std::string_view value = Trim(raw);
        const size_t valueBegin = value.empty()
                                      ? lines[i].begin + equals + 1
                                      : static_cast<size_t>(value.data() - ini.data());
        found.key = KeyPlace{i, valueBegin, valueBegin + value.size()};
        return found;
    }
    return found;
}

std::string LineEndOf(const std::string& ini) {
    const size_t lf = ini.find('\n');
    if (lf == std::string::npos) return kNewFileLineEnd;
    return lf > 0 && ini[lf - 1] == '\r' ? "\r\n" : "\n";
}

// The second byte of a two-byte cp932 character. A NUL is none, nor is "/": a UTF-8 path
// (whose multi-byte characters look like lead bytes) never loses a separator to them.
bool IsCp932TrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

std::string ReadSettingsText() {
    const std::optional<ByteBuffer> contents = ReadWholeFile(OptionFile());
    if (!contents || contents->Empty()) return {};
    return std::string(reinterpret_cast<const char*>(contents->Data()), contents->Size());
}

}  // namespace

int FindLastChar(const char* text, char byte) {
    if (text == nullptr) return -1;
    int last = -1;
    for (int i = 0; text[i] != '\0'; ++i) {
        if (text[i] == byte) {
            last = i;
        } else if (IsCp932LeadByte(static_cast<unsigned char>(text[i])) &&
                   IsCp932TrailByte(static_cast<unsigned char>(text[i + 1]))) {
            ++i;  // the second byte of a two-byte character is never the one sought
        }
    }
    return last;
}

std::string CutAtLastSeparator(const std::string& path, char separator) {
    const int at = FindLastChar(path.c_str(), separator);
    if (at < 0) return path;
    // A file in the root of a Unix tree: the root itself, not an empty text that would
    // read as "no folder".
    if (at == 0 && separator == '/') return "/";
    return path.substr(0, static_cast<size_t>(at));
}

std::string ProgramFolder() {
    if (!ProgramFolderOverride().empty()) return ProgramFolderOverride();
    const std::string program = platform::ProgramPath();
    return program.empty() ? std::string() : CutAtLastSeparator(program);
}

void SetProgramFolder(const std::string& folder) { ProgramFolderOverride() = folder; }

std::string ProgramFile(const std::string& name) {
    std::string folder = ProgramFolder();
    if (folder.empty()) return name;
    if (folder.back() != kPathSeparator) folder += kPathSeparator;
    return folder + name;
}

std::string ReadRomFolder() { return IniGet(ReadSettingsText(), kFolderSection, kFolderKey); }

bool WriteRomFolder(const std::string& folder) {
    const std::string ini = ReadSettingsText();
    if (IniGet(ini, kFolderSection, kFolderKey) == folder) return true;
    const std::string updated = IniSet(ini, kFolderSection, kFolderKey, folder);
    const std::string file = OptionFile();
    if (file != ProgramFile(kSettingsFile)) MakeUserConfigFolder();
    return WriteWholeFile(file,
                          reinterpret_cast<const uint8_t*>(updated.data()), updated.size());
}

std::string IniGet(const std::string& ini, const std::string& section, const std::string& key) {
    const IniLookup found = Find(ini, SplitLines(ini), section, key);
    if (!found.key) return {};
    std::string value = ini.substr(found.key->valueBegin, found.key->valueEnd - found.key->valueBegin);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string IniSet(const std::string& ini, const std::string& section, const std::string& key,
                   const std::string& value) {
    const std::vector<IniLine> lines = SplitLines(ini);
    const IniLookup found = Find(ini, lines, section, key);
    if (found.key) {
        return ini.substr(0, found.key->valueBegin) + value + ini.substr(found.key->valueEnd);
    }
    const std::string lineEnd = LineEndOf(ini);
    const std::string entry = key + "=" + value + lineEnd;
    if (found.lastLineOfSection) {
        // After the section's last line, before any blank lines that part it from the next.
        const IniLine& after = lines[*found.lastLineOfSection];
        size_t at = after.end;
        if (at < ini.size() && ini[at] == '\r') ++at;
        if (at < ini.size() && ini[at] == '\n') return ini.substr(0, at + 1) + entry + ini.substr(at + 1);
        return ini + lineEnd + entry;
    }
    std::string result = ini;
    if (!result.empty() && result.back() != '\n') result += lineEnd;
    return result + "[" + section + "]" + lineEnd + entry;
}

}  // namespace tsumugi

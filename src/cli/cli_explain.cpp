// codes explain: every code of a code file named by category, table, record and field,
// with the value before and after, as tab-separated lines or as JSON.
#include <algorithm>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/bytes.h"
#include "core/change_explain.h"
#include "core/patch_code.h"

namespace tsumugi::cli {
namespace {

// A value on one line of tab-separated output: tabs and line breaks escaped.
std::string Cell(std::string text) {
    ReplaceAll(text, "\\", "\\\\");
    ReplaceAll(text, "\t", "\\t");
    ReplaceAll(text, "\n", "\\n");
    return text;
}

std::string PlainText(const std::vector<ChangeRow>& rows) {
    std::string out;
    for (const ChangeRow& row : rows) {
        const std::string cells[] = {
            CodeAddress(row.offset), CategoryLabel(row.category), row.table,
            row.record >= 0 ? std::to_string(row.record) : std::string(), row.recordName, row.field,
            row.before, row.after};
        for (size_t i = 0; i < std::size(cells); ++i) {
            if (i > 0) out += '\t';
            out += Cell(cells[i]);
        }
        out += '\n';
    }
    return out;
}

std::string JsonText(const std::vector<ChangeRow>& rows) {
    std::string out = "[";
    for (size_t i = 0; i < rows.size(); ++i) {
        const ChangeRow& row = rows[i];
        out += i == 0 ? "\n" : ",\n";
        out += "{\"address\":" + JsonString(CodeAddress(row.offset)) +
               ",\"category\":" + JsonString(CategoryLabel(row.category)) +
               ",\"table\":" + JsonString(row.table) +
               ",\"record\":" + (row.record >= 0 ? std::to_string(row.record) : std::string("null")) +
               ",\"name\":" + JsonString(row.recordName) + ",\"field\":" + JsonString(row.field) +
               ",\"old\":" + JsonString(row.before) + ",\"new\":" + JsonString(row.after) + "}";
    }
    return out + (rows.empty() ? "]\n" : "\n]\n");
}

}  // namespace

int CodesExplain(const Args& args) {
    RomImage rom;
    if (!LoadRom(args.words[2], args.force, rom)) return kExitFailure;
    const std::optional<PatchCodeList> codes = ReadCodeFile(args.words[3]);
    if (!codes) return Fail("cannot read the code file " + args.words[3]);
    if (!LoadTable()) return kExitFailure;

    // The image with the codes: lengthened with 0xFF as far as the last code reaches.
    std::vector<uint8_t> after(rom.m_pData, rom.m_pData + rom.m_nSize);
    if (!codes->Empty()) {
        const size_t needed = size_t{codes->MaxOffset()} + 2;
        if (needed > after.size()) after.resize(needed, 0xFF);
    }
    for (const auto& [offset, value] : *codes) Write16(after.data() + offset, value);

    const std::vector<ChangeRow> rows = ExplainCodes(
        {rom.m_pData, rom.m_nSize}, {after.data(), static_cast<uint32_t>(after.size())}, *codes);
    Print(args.json ? JsonText(rows) : PlainText(rows));
    return kExitOk;
}

}  // namespace tsumugi::cli

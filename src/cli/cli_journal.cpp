// journal show / journal codes: the editor's journal of a ROM read without the window, so
// that work can be looked at and recovered from the command line.
#include <ctime>
#include <filesystem>

#include "cli/cli.h"
#include "core/file_io.h"
#include "core/journal.h"
#include "core/patch_code.h"
#include "core/session.h"

namespace tsumugi::cli {
namespace {

// The journal's records for the ROM at path (named by its full path, as the editor names
// it), or nullopt after telling the user.
std::optional<std::vector<JournalRecord>> ReadJournalOf(const std::string& rom) {
    std::error_code error;
    const std::string full = std::filesystem::absolute(rom, error).lexically_normal().string();
    const std::string folder = UserStateFolder();
    if (error || folder.empty()) {
        Fail("cannot tell where the journal of " + rom + " lies");
        return std::nullopt;
    }
    const std::string path = JournalPathFor(folder, full);
    const std::optional<ByteBuffer> bytes = ReadWholeFile(path);
    if (!bytes) {
        Fail("no journal for " + full + " (" + path + ")");
        return std::nullopt;
    }
    std::vector<JournalRecord> records = ParseJournal(bytes->Data(), bytes->Size());
    if (records.empty() || records.front().type != RecordType::Open) {
        Fail("the journal " + path + " holds nothing readable");
        return std::nullopt;
    }
    return records;
}

std::string TimeText(int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    char text[32] = "?";
#ifdef _WIN32
    const bool known = localtime_s(&local, &t) == 0;
#else
    const bool known = localtime_r(&t, &local) != nullptr;
#endif
    if (known) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string StepKindText(const Step& step) {
    return step.kind == StepKind::CodeLoad ? "コード読み込み " + step.name : step.name;
}

}  // namespace

int JournalShow(const Args& args) {
    const auto records = ReadJournalOf(args.words[2]);
    if (!records) return kExitFailure;
    // A history without the image is enough to name what each undo and redo passed over.
    History history;
    std::string out;
    int number = 0;
    for (const JournalRecord& r : *records) {
        std::string kind, words = "-";
        const Step* step = nullptr;
        switch (r.type) {
        case RecordType::Open:
            continue;
        case RecordType::Step:
            history.Push(r.step);
            step = &r.step;
            break;
        case RecordType::Undo:
            step = history.Undo();
            kind = "元に戻す ";
            break;
        case RecordType::Redo:
            step = history.Redo();
            kind = "やり直し ";
            break;
        case RecordType::Disk:
            kind = "上書き保存";
            words = std::to_string((r.disk.size() + 1) / 2) + "語";
            break;
        case RecordType::Extend:
            history.PushBarrier();
            kind = "ROM拡張 " + Hex8(r.romSize);
            break;
        case RecordType::Saved:
            kind = "コード保存";
            break;
        }
        if (step != nullptr) {
            kind += StepKindText(*step);
            words = std::to_string(step->words) + "語";
        }
        out += std::to_string(++number) + "\t" + kind + "\t" + words + "\t" + TimeText(r.time) + "\n";
    }
    Print(out);
    return kExitOk;
}

int JournalCodes(const Args& args) {
    const auto records = ReadJournalOf(args.words[2]);
    if (!records) return kExitFailure;
    RomImage rom;
    if (!LoadRom(args.words[2], args.force, rom)) return kExitFailure;
    ReplayTarget target;
    target.image.assign(rom.m_pData, rom.m_pData + rom.m_nSize);
    target.original = target.image;
    SessionState state;
    if (!ReplayJournal(*records, target, state)) return Fail("the journal cannot be replayed");
    if (state.romSize != rom.m_nSize || state.romCrc != Crc32Of(rom.m_pData, rom.m_nSize)) {
        std::fprintf(stderr, "tsumugi-cli: warning: %s changed since the journal was written\n",
                     args.words[2].c_str());
    }
    if (!WriteCodeFile(target.codes, *args.output)) return Fail("cannot write " + *args.output);
    return kExitOk;
}

}  // namespace tsumugi::cli

#include "core/session.h"

#include <cstring>
#include <ctime>
#include <set>

#include "core/bytes.h"
#include "core/file_io.h"

namespace tsumugi {

namespace {
constexpr uint32_t kCodeBytes = 2;
constexpr uint8_t kFiller = 0xFF;  // what a lengthened ROM holds past its old end

int64_t Now() { return static_cast<int64_t>(std::time(nullptr)); }

// The image, the ROM as loaded and the codes that undo, redo and the in-place writes keep
// in step.
struct Model {
    uint8_t* image;
    uint32_t size;
    const std::vector<uint8_t>& original;
    PatchCodeList& codes;
    SessionState& state;
};

// The byte the ROM file holds at offset, as far as this program changed it.
uint8_t OnDisk(const Model& m, uint32_t offset) {
    const auto found = m.state.disk.find(offset);
    if (found != m.state.disk.end()) return found->second.second;
    return offset < m.original.size() ? m.original[offset] : kFiller;
}

bool Covered(const PatchCodeList& codes, uint32_t offset) {
    return codes.Find(offset).has_value() || (offset > 0 && codes.Find(offset - 1).has_value());
}

// After an undo or redo: every code the step's bytes touch holds what the image holds, and
// every byte the file holds otherwise than the image has a code, so that writing the codes
// in place, or saving and applying them, still gives the image.
void Settle(const Model& m, const Step& step) {
    auto settle = [&m](uint32_t offset) {
        const std::optional<uint16_t> code = m.codes.Find(offset);
        if (code && static_cast<uint64_t>(offset) + kCodeBytes <= m.size && *code != Read16(m.image + offset))
            m.codes.Set(offset, Read16(m.image + offset));
    };
    uint64_t touched = 0;
    for (const ByteRun& run : step.bytes) touched += run.before.size() + 1;
    if (touched > m.codes.Size()) {
        // Fewer codes than bytes: one pass over the codes is cheaper than a search per byte.
        std::vector<uint32_t> offsets;
        offsets.reserve(m.codes.Size());
        for (const auto& entry : m.codes) offsets.push_back(entry.first);
        for (const uint32_t offset : offsets) settle(offset);
    } else {
        for (const ByteRun& run : step.bytes) {
            const uint64_t end = static_cast<uint64_t>(run.offset) + run.before.size();
            for (uint64_t at = run.offset > 0 ? run.offset - 1 : 0; at < end; ++at) settle(static_cast<uint32_t>(at));
        }
    }
    for (const auto& [offset, bytes] : m.state.disk) {
        if (offset >= m.size || m.image[offset] == bytes.second || Covered(m.codes, offset)) continue;
        uint32_t word = offset & ~1u;
        if (static_cast<uint64_t>(word) + kCodeBytes > m.size) word = offset - 1;
        if (static_cast<uint64_t>(word) + kCodeBytes > m.size) continue;
        m.codes.Record(word, Read16(m.image + word));
    }
}

bool Move(const Model& m, bool forward) {
    const Step* step = forward ? m.state.history.Redo() : m.state.history.Undo();
    if (step == nullptr) return false;
    ApplyStep(*step, forward, m.image, m.size, m.codes);
    Settle(m, *step);
    return true;
}

// Notes in the state which bytes of the file an in-place write changed.
void NoteDiskBytes(const Model& m, const std::vector<DiskByte>& bytes) {
    for (const DiskByte& b : bytes) {
        const auto found = m.state.disk.find(b.offset);
        const uint8_t loaded = found != m.state.disk.end() ? found->second.first
                               : b.offset < m.original.size() ? m.original[b.offset]
                                                              : kFiller;
        if (b.after == loaded)
            m.state.disk.erase(b.offset);
        else
            m.state.disk[b.offset] = {loaded, b.after};
    }
}

std::optional<std::pair<uint32_t, uint32_t>> FileSizeAndCrc(const std::string& path) {
    const std::optional<ByteBuffer> bytes = ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    return std::make_pair(static_cast<uint32_t>(bytes->Size()), Crc32Of(bytes->Data(), bytes->Size()));
}

std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

size_t CountUnsaved(const PatchCodeList& codes, const PatchCodeList& saved) {
    return DiffCodes(saved, codes).size();
}

bool ReplayJournal(const std::vector<JournalRecord>& records, ReplayTarget& target, SessionState& state) {
    if (records.empty() || records.front().type != RecordType::Open) return false;
    const uint32_t loadedSize = records.front().romSize;
    state = SessionState{};
    state.romSize = loadedSize;
    state.romCrc = records.front().romCrc;
    // The file now holds the in-place writes. The ROM as loaded is put back first: the
    // first write that changed a byte says what it held before.
    if (target.original.size() > loadedSize) target.original.resize(loadedSize);
    std::set<uint32_t> seen;
    for (const JournalRecord& record : records) {
        if (record.type != RecordType::Disk) continue;
        for (const DiskByte& b : record.disk) {
            if (seen.insert(b.offset).second && b.offset < target.original.size())
                target.original[b.offset] = b.before;
        }
    }
    for (const JournalRecord& record : records) {
        const Model m{target.image.data(), static_cast<uint32_t>(target.image.size()), target.original,
                      target.codes, state};
        switch (record.type) {
        case RecordType::Open:
            break;
        case RecordType::Step:
            ApplyStep(record.step, true, m.image, m.size, target.codes);
            state.history.Push(record.step);
            break;
        case RecordType::Undo:
        case RecordType::Redo:
            Move(m, record.type == RecordType::Redo);
            break;
        case RecordType::Disk:
            NoteDiskBytes(m, record.disk);
            state.romSize = record.romSize;
            state.romCrc = record.romCrc;
            break;
        case RecordType::Extend:
            // The file only ever grew: the image read from it now already holds every
            // lengthening. A journal that says otherwise is not this file's.
            if (record.romSize > target.image.size()) return false;
            state.history.PushBarrier();
            state.romSize = record.romSize;
            state.romCrc = record.romCrc;
            break;
        case RecordType::Saved:
            state.saved = target.codes;
            break;
        }
    }
    return true;
}

Session::Session(Workspace& ws) : m_ws(ws) {}

bool Session::TakeJournalFailure() {
    const bool failed = m_failed;
    m_failed = false;
    return failed;
}

bool Session::Append(const JournalRecord& record) {
    if (m_journal.empty()) return true;
    const std::vector<uint8_t> bytes = EncodeRecord(record);
    const std::optional<uint64_t> before = FileLength(m_journal);
    if (AppendToFile(m_journal, bytes.data(), bytes.size())) return true;
    // A torn record would hide every later one: cut it off again.
    if (before) ResizeFile(m_journal, *before);
    m_failed = true;
    return false;
}

void Session::StartJournal() {
    if (m_journal.empty()) return;
    JournalRecord open;
    open.type = RecordType::Open;
    open.time = Now();
    open.romSize = m_state.romSize;
    open.romCrc = m_state.romCrc;
    open.path = m_ws.m_rom.m_szPath;
    const std::vector<uint8_t> bytes = EncodeRecord(open);
    if (!WriteWholeFile(m_journal, bytes.data(), bytes.size())) m_failed = true;
}

Session::Found Session::Open() {
    m_state = SessionState{};
    m_pending = ReplayTarget{};
    m_pendingState = SessionState{};
    m_journal.clear();
    if (!m_ws.m_rom.IsLoaded()) return Found::Nothing;
    m_state.romSize = m_ws.m_rom.m_nSize;
    m_state.romCrc = Crc32Of(m_ws.m_rom.m_pData, m_ws.m_rom.m_nSize);
    const std::string folder = m_folder.empty() ? UserStateFolder() : m_folder;
    if (!MakeFolders(folder)) {
        m_failed = true;
        return Found::Nothing;
    }
    m_journal = JournalPathFor(folder, m_ws.m_rom.m_szPath);

    const std::optional<ByteBuffer> file = ReadWholeFile(m_journal);
    const std::vector<JournalRecord> records =
        file ? ParseJournal(file->Data(), file->Size()) : std::vector<JournalRecord>{};
    // Nothing readable (no file, or one cut inside its first record): nothing to offer.
    if (records.empty() || records.front().type != RecordType::Open) {
        StartJournal();
        return Found::Nothing;
    }
    uint32_t size = 0, crc = 0;
    for (const JournalRecord& r : records) {
        if (r.type == RecordType::Open || r.type == RecordType::Disk || r.type == RecordType::Extend) {
            size = r.romSize;
            crc = r.romCrc;
        }
    }
    if (size != m_state.romSize || crc != m_state.romCrc || records.front().path != m_ws.m_rom.m_szPath) {
        RenameFile(m_journal, m_journal + ".old");
        StartJournal();
        return Found::SetAside;
    }
    m_pending.image.assign(m_ws.m_rom.m_pData, m_ws.m_rom.m_pData + m_ws.m_rom.m_nSize);
    m_pending.original = m_ws.m_original;
    if (!ReplayJournal(records, m_pending, m_pendingState) ||
        m_pending.image.size() != m_ws.m_rom.m_nSize ||
        CountUnsaved(m_pending.codes, m_pendingState.saved) == 0) {
        m_pending = ReplayTarget{};
        StartJournal();
        return Found::Nothing;
    }
    return Found::Offer;
}

bool Session::Recover() {
    if (m_journal.empty() || m_pending.image.size() != m_ws.m_rom.m_nSize || !m_ws.m_rom.IsLoaded())
        return false;
    std::memcpy(m_ws.m_rom.m_pData, m_pending.image.data(), m_pending.image.size());
    m_ws.m_codes = std::move(m_pending.codes);
    m_ws.m_original = std::move(m_pending.original);
    m_state = std::move(m_pendingState);
    m_pending = ReplayTarget{};
    m_pendingState = SessionState{};
    return true;
}

void Session::Discard() {
    m_pending = ReplayTarget{};
    m_pendingState = SessionState{};
    StartJournal();
}

void Session::Close() {
    if (!m_journal.empty() && UnsavedCodes() == 0) RemoveFile(m_journal);
    m_journal.clear();
    m_state = SessionState{};
}

bool Session::Record(Step step) {
    if (step.Empty()) return true;
    if (step.time == 0) step.time = Now();
    JournalRecord record;
    record.type = RecordType::Step;
    record.time = step.time;
    record.step = std::move(step);
    const bool journalled = Append(record);
    m_state.history.Push(std::move(record.step));
    return journalled;
}

bool Session::CommitEdit(EditGuard& guard, int category) {
    Step step;
    step.kind = StepKind::Edit;
    step.name = CategoryLabel(category);
    guard.Collect(step);
    if (step.bytes.empty()) return true;
    const PatchCodeList before = m_ws.m_codes;
    guard.Commit(m_ws.m_codes);
    step.codes = DiffCodes(before, m_ws.m_codes);
    return Record(std::move(step));
}

const Step* Session::Undo() {
    const Model m{m_ws.m_rom.m_pData, m_ws.m_rom.m_nSize, m_ws.m_original, m_ws.m_codes, m_state};
    if (!m_ws.m_rom.IsLoaded() || !Move(m, false)) return nullptr;
    Append(JournalRecord{RecordType::Undo, Now(), 0, 0, {}, {}, {}});
    return m_state.history.NextRedo();
}

const Step* Session::Redo() {
    const Model m{m_ws.m_rom.m_pData, m_ws.m_rom.m_nSize, m_ws.m_original, m_ws.m_codes, m_state};
    if (!m_ws.m_rom.IsLoaded() || !Move(m, true)) return nullptr;
    Append(JournalRecord{RecordType::Redo, Now(), 0, 0, {}, {}, {}});
    return m_state.history.NextUndo();
}

bool Session::NoteFileChange(RecordType type, std::vector<DiskByte> bytes) {
    JournalRecord record;
    record.type = type;
    record.time = Now();
    record.disk = std::move(bytes);
    const Model m{m_ws.m_rom.m_pData, m_ws.m_rom.m_nSize, m_ws.m_original, m_ws.m_codes, m_state};
    NoteDiskBytes(m, record.disk);
    if (const auto file = FileSizeAndCrc(m_ws.m_rom.m_szPath)) {
        m_state.romSize = file->first;
        m_state.romCrc = file->second;
    }
    record.romSize = m_state.romSize;
    record.romCrc = m_state.romCrc;
    return Append(record);
}

LoadCodesResult Session::LoadCodes(const std::string& path, bool keep, WorkspaceQuestions& q) {
    const PatchCodeList codesBefore = m_ws.m_codes;
    const uint32_t sizeBefore = m_ws.m_rom.m_nSize;
    const std::optional<PatchCodeList> read = ReadCodeFile(path);
    if (!keep) m_ws.m_codes.Clear();

    // The bytes the codes will cover, as they are now: spans of nearby codes.
    struct Span {
        uint32_t offset;
        std::vector<uint8_t> before;
    };
    std::vector<Span> spans;
    if (read) {
        for (const auto& [offset, value] : *read) {
            const uint64_t end = static_cast<uint64_t>(offset) + kCodeBytes;
            if (!spans.empty() && offset <= spans.back().offset + spans.back().before.size() + 8) {
                Span& span = spans.back();
                while (span.offset + span.before.size() < end) {
                    const uint64_t at = span.offset + span.before.size();
                    span.before.push_back(at < sizeBefore ? m_ws.m_rom.m_pData[at] : kFiller);
                }
                continue;
            }
            Span span{offset, {}};
            for (uint64_t at = offset; at < end; ++at)
                span.before.push_back(at < sizeBefore ? m_ws.m_rom.m_pData[at] : kFiller);
            spans.push_back(std::move(span));
        }
    }
    const LoadCodesResult result = read ? m_ws.ApplyCodes(*read, q) : LoadCodesResult::Unreadable;
    if (m_ws.m_rom.m_nSize != sizeBefore) {
        m_state.history.PushBarrier();
        NoteFileChange(RecordType::Extend, {});
    }
    Step step;
    step.kind = StepKind::CodeLoad;
    step.name = FileName(path);
    if (result == LoadCodesResult::Applied) {
        for (const Span& span : spans) {
            if (static_cast<uint64_t>(span.offset) + span.before.size() > m_ws.m_rom.m_nSize) continue;
            AddByteChanges(step, span.offset, span.before.data(), m_ws.m_rom.m_pData + span.offset,
                           static_cast<uint32_t>(span.before.size()));
        }
    }
    step.codes = DiffCodes(codesBefore, m_ws.m_codes);
    Record(std::move(step));
    return result;
}

RewriteResult Session::Rewrite(size_t* skipped, ApplyReport* report) {
    ApplyReport local;
    ApplyReport& done = report ? *report : local;
    const RewriteResult result = m_ws.Rewrite(skipped, &done);
    if (result != RewriteResult::Written && result != RewriteResult::Failed) return result;
    const Model m{m_ws.m_rom.m_pData, m_ws.m_rom.m_nSize, m_ws.m_original, m_ws.m_codes, m_state};
    std::vector<DiskByte> changed;
    for (const uint32_t offset : done.written) {
        const std::optional<uint16_t> value = m_ws.m_codes.Find(offset);
        if (!value) continue;
        for (uint32_t k = 0; k < kCodeBytes; ++k) {
            const uint8_t after = static_cast<uint8_t>(*value >> (8 * k));
            const uint8_t before = OnDisk(m, offset + k);
            if (after != before) changed.push_back({offset + k, before, after});
        }
    }
    NoteFileChange(RecordType::Disk, std::move(changed));
    // Every code is in the file now: they count as saved.
    if (result == RewriteResult::Written) {
        m_state.saved = m_ws.m_codes;
        Append(JournalRecord{RecordType::Saved, Now(), 0, 0, {}, {}, {}});
    }
    return result;
}

bool Session::SaveCodes(const std::string& path) {
    if (!WriteCodeFile(m_ws.m_codes, path)) return false;
    m_state.saved = m_ws.m_codes;
    Append(JournalRecord{RecordType::Saved, Now(), 0, 0, {}, {}, {}});
    return true;
}

}  // namespace tsumugi

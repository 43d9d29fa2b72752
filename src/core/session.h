#pragma once
// The history and the crash journal of the loaded ROM, around the workspace. Every step is
// appended to the journal (synced) before it counts as done; undo, redo, writing the codes
// in place, lengthening the file and saving the codes are journalled too. Opening a ROM
// whose journal holds unsaved work offers to restore it.
//
// Commands that change the image or the codes in one go call Record with a step built as
// history.h describes; the editors go through CommitEdit, code files through LoadCodes.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/edit_guard.h"
#include "core/history.h"
#include "core/journal.h"
#include "core/workspace.h"

namespace tsumugi {

// What replaying a journal gives beside the image and the codes.
struct SessionState {
    History history;
    // Bytes the in-place writes left in the ROM file that the ROM as loaded held otherwise:
    // offset -> (as loaded, in the file now).
    std::map<uint32_t, std::pair<uint8_t, uint8_t>> disk;
    PatchCodeList saved;     // the codes as last saved as a file or written in place
    uint32_t romSize = 0;    // the ROM file as the program last left it
    uint32_t romCrc = 0;
};

// The image, the ROM as loaded and the codes a replay works on.
struct ReplayTarget {
    std::vector<uint8_t> image;
    std::vector<uint8_t> original;
    PatchCodeList codes;
};

// Replays records onto target, whose image (and original) start as the ROM file is now.
// False when the first record is no Open record, or a lengthening reaches past the image
// (the file only grows). Nothing is written outside the image.
bool ReplayJournal(const std::vector<JournalRecord>& records, ReplayTarget& target, SessionState& state);

// Codes that differ from `saved`, counted both ways (changed, added or taken out).
size_t CountUnsaved(const PatchCodeList& codes, const PatchCodeList& saved);

class Session {
public:
    explicit Session(Workspace& ws);

    // The folder journals live in; UserStateFolder() unless set.
    void SetFolder(std::string folder) { m_folder = std::move(folder); }

    enum class Found {
        Nothing,   // no journal with unsaved work: a fresh one was started
        Offer,     // unsaved work found: ask, then Recover() or Discard()
        SetAside,  // a journal made for the file as it was before: renamed aside, fresh one started
    };
    // Called right after a ROM loaded: starts an empty history and looks for its journal.
    Found Open();
    // Yes: the image, the codes and the history as after the journal's last complete step.
    bool Recover();
    // No: the journal goes, a fresh one starts.
    void Discard();
    // Leaving the ROM (quitting, opening another): the journal goes unless work is unsaved.
    void Close();

    // A done step (ignored when it changed nothing). False when the journal could not be
    // written; the step counts all the same.
    bool Record(Step step);
    // An editor closed with OK: its changes become codes and one step.
    bool CommitEdit(EditGuard& guard, int category);
    // The step undone or redone, or null when there was none.
    const Step* Undo();
    const Step* Redo();

    // "読み込み" after the question: keep false clears the codes first (the answer No).
    LoadCodesResult LoadCodes(const std::string& path, bool keep, WorkspaceQuestions& q);
    // "上書き保存": the workspace's write, journalled with what changed in the file.
    RewriteResult Rewrite(size_t* skipped = nullptr, ApplyReport* report = nullptr);
    // "保存": writes the code file; on success the codes count as saved.
    bool SaveCodes(const std::string& path);

    size_t UnsavedCodes() const { return CountUnsaved(m_ws.m_codes, m_state.saved); }
    const History& GetHistory() const { return m_state.history; }
    const std::string& JournalPath() const { return m_journal; }
    // True once a journal write failed since the last call (for one message).
    bool TakeJournalFailure();

private:
    bool Append(const JournalRecord& record);
    void StartJournal();
    void Finish(const Step& step);
    bool NoteFileChange(RecordType type, std::vector<DiskByte> bytes);

    Workspace& m_ws;
    SessionState m_state;
    std::string m_folder;
    std::string m_journal;  // empty when journalling is off (no ROM, no folder)
    bool m_failed = false;
    ReplayTarget m_pending;
    SessionState m_pendingState;
};

}  // namespace tsumugi

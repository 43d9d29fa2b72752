#pragma once
// The run's history: every step that changed the image or the codes, kept as the bytes and
// codes it changed (old and new), never as copies of the image, so that it can be undone
// and redone exactly.
//
// Any command that changes the image or the codes in one go (an editor run, a code file
// loaded, a table imported from CSV, a patch applied) becomes one step: build it with
// MakeStep from the image and the codes before and after the command (or add the changed
// ranges with AddByteChanges and the codes with DiffCodes), then hand it to
// Session::Record, which journals it and puts it on the history.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/patch_code.h"

namespace tsumugi {

// A run of bytes a step changed, as they were before and after it.
struct ByteRun {
    uint32_t offset = 0;
    std::vector<uint8_t> before;
    std::vector<uint8_t> after;  // as long as before
};

// A code a step changed: absent (nullopt) or its value, before and after.
struct CodeChange {
    uint32_t offset = 0;
    std::optional<uint16_t> before;
    std::optional<uint16_t> after;
};

enum class StepKind : uint8_t {
    Edit = 1,      // an editor closed with OK; name is the category's list text
    CodeLoad = 2,  // a code file loaded; name is the file's name
    Command = 3,   // any other one-go command; name is what the button says
};

struct Step {
    StepKind kind = StepKind::Edit;
    std::string name;   // UTF-8
    uint32_t words = 0; // 16-bit words the step changed
    int64_t time = 0;   // seconds since 1970, when it was done
    std::vector<ByteRun> bytes;
    std::vector<CodeChange> codes;

    bool Empty() const { return bytes.empty() && codes.empty(); }
};

// Appends the runs of bytes that differ between before and after (both length bytes, the
// image's bytes from offset on). Nearby runs are joined.
void AddByteChanges(Step& step, uint32_t offset, const uint8_t* before, const uint8_t* after,
                    uint32_t length);

// Every offset whose code differs between the two lists, in ascending order.
std::vector<CodeChange> DiffCodes(const PatchCodeList& before, const PatchCodeList& after);

// A whole step from the image and codes before and after a one-go command. The images
// must be equally long (a command that lengthens the ROM records the lengthening first).
// words counts the 16-bit words (at even offsets) that changed.
Step MakeStep(StepKind kind, std::string name, const uint8_t* before, const uint8_t* after,
              uint32_t size, const PatchCodeList& codesBefore, const PatchCodeList& codesAfter);

// How the buttons name a step: "武器 (12語)", "コード読み込み codes.txt (340語)".
std::string StepLabel(const Step& step);

// Puts the step's bytes (after when forward, before otherwise) into the image and its codes
// into the list. Runs that do not lie inside the image are skipped.
void ApplyStep(const Step& step, bool forward, uint8_t* image, uint32_t size, PatchCodeList& codes);

// Steps in order, with a position between those done and those that can be redone.
class History {
public:
    void Clear();
    // A new step: what could have been redone is dropped.
    void Push(Step step);
    // The ROM file was lengthened: nothing before can be undone, nothing redone.
    void PushBarrier();

    const Step* NextUndo() const { return m_done > 0 ? &m_steps[m_done - 1] : nullptr; }
    const Step* NextRedo() const { return m_done < m_steps.size() ? &m_steps[m_done] : nullptr; }
    // The next step back is a lengthening, which cannot be undone.
    bool BarrierNext() const { return m_done == 0 && m_barrier; }

    // Move the position; the step passed over, or null when there is none.
    const Step* Undo();
    const Step* Redo();

    size_t Done() const { return m_done; }
    size_t Size() const { return m_steps.size(); }

private:
    std::vector<Step> m_steps;
    size_t m_done = 0;
    bool m_barrier = false;
};

}  // namespace tsumugi

#include "core/history.h"

#include <cstring>

#include "core/bytes.h"

namespace tsumugi {

namespace {
// Changed bytes this close together make one run: a run costs more than a few bytes.
constexpr uint32_t kJoinGap = 8;
constexpr uint32_t kBlock = 64;

void AddRun(Step& step, uint32_t offset, const uint8_t* before, const uint8_t* after, uint32_t length) {
    ByteRun run;
    run.offset = offset;
    run.before.assign(before, before + length);
    run.after.assign(after, after + length);
    step.bytes.push_back(std::move(run));
}
}  // namespace

void AddByteChanges(Step& step, uint32_t offset, const uint8_t* before, const uint8_t* after,
                    uint32_t length) {
    uint32_t i = 0;
    bool open = false;
    uint32_t start = 0, last = 0;  // the open run's first and last changed byte
    while (i < length) {
        // Equal blocks are passed over whole.
        if (!open && length - i >= kBlock && std::memcmp(before + i, after + i, kBlock) == 0) {
            i += kBlock;
            continue;
        }
        if (before[i] != after[i]) {
            const uint32_t at = offset + i;
            // A word counts once, by its even offset.
            if ((at & 1u) == 0 || i == 0 || before[i - 1] == after[i - 1]) ++step.words;
            if (!open) {
                open = true;
                start = i;
            }
            last = i;
        } else if (open && i - last > kJoinGap) {
            AddRun(step, offset + start, before + start, after + start, last - start + 1);
            open = false;
        }
        ++i;
    }
    if (open) AddRun(step, offset + start, before + start, after + start, last - start + 1);
}

std::vector<CodeChange> DiffCodes(const PatchCodeList& before, const PatchCodeList& after) {
    std::vector<CodeChange> changes;
    auto b = before.begin();
    auto a = after.begin();
    while (b != before.end() || a != after.end()) {
        if (a == after.end() || (b != before.end() && b->first < a->first)) {
            changes.push_back({b->first, b->second, std::nullopt});
            ++b;
        } else if (b == before.end() || a->first < b->first) {
            changes.push_back({a->first, std::nullopt, a->second});
            ++a;
        } else {
            if (a->second != b->second) changes.push_back({a->first, b->second, a->second});
            ++a;
            ++b;
        }
    }
    return changes;
}

Step MakeStep(StepKind kind, std::string name, const uint8_t* before, const uint8_t* after,
              uint32_t size, const PatchCodeList& codesBefore, const PatchCodeList& codesAfter) {
    Step step;
    step.kind = kind;
    step.name = std::move(name);
    AddByteChanges(step, 0, before, after, size);
    step.codes = DiffCodes(codesBefore, codesAfter);
    return step;
}

std::string StepLabel(const Step& step) {
    std::string label;
    if (step.kind == StepKind::CodeLoad) label = "コード読み込み ";
    label += step.name;
    label += " (" + std::to_string(step.words) + "語)";
    return label;
}

void ApplyStep(const Step& step, bool forward, uint8_t* image, uint32_t size, PatchCodeList& codes) {
    for (const ByteRun& run : step.bytes) {
        const std::vector<uint8_t>& bytes = forward ? run.after : run.before;
        if (image == nullptr || static_cast<uint64_t>(run.offset) + bytes.size() > size) continue;
        if (!bytes.empty()) std::memcpy(image + run.offset, bytes.data(), bytes.size());
    }
    for (const CodeChange& change : step.codes) {
        const std::optional<uint16_t>& value = forward ? change.after : change.before;
        if (value)
            codes.Set(change.offset, *value);
        else
            codes.Erase(change.offset);
    }
}

void History::Clear() {
    m_steps.clear();
    m_done = 0;
    m_barrier = false;
}

void History::Push(Step step) {
    m_steps.resize(m_done);
    m_steps.push_back(std::move(step));
    m_done = m_steps.size();
}

void History::PushBarrier() {
    m_steps.clear();
    m_done = 0;
    m_barrier = true;
}

const Step* History::Undo() {
    if (m_done == 0) return nullptr;
    return &m_steps[--m_done];
}

const Step* History::Redo() {
    if (m_done >= m_steps.size()) return nullptr;
    return &m_steps[m_done++];
}

}  // namespace tsumugi

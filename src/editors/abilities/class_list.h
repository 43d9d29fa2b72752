#pragma once
// One record of a classification table: a count followed by an ordered run of entry
// numbers (the records of another table). Adding, removing and moving work on the ROM
// bytes directly. Whatever count the ROM holds, nothing is read or written outside the
// record: a count beyond the slots stands for as many entries as the slots hold, and a
// negative count for none.
#include <cstdint>

namespace editors {

// Where a classification table lies and how each of its records is laid out.
struct ClassListLayout {
    uint32_t base;        // first record
    uint32_t size;        // bytes per record
    int count;            // records
    uint32_t countField;  // offset of the entry count
    int countWidth;       // its bytes: 1, 2 or 4
    bool countSigned;     // whether the count is a signed number
    uint32_t entries;     // offset of the first entry slot
    int entryWidth;       // bytes per slot: 1, 2 or 4
    int maxEntries;       // slots; they must fit the record
};

enum class AddResult { Added, Full, AlreadyThere, NoRecord };

class ClassList {
public:
    // record points at the record's first byte, or is null (then nothing is read or written).
    ClassList(uint8_t* record, const ClassListLayout& layout) : m_pRecord(record), m_layout(layout) {}

    // The number of entries the editor shows: the count, limited to 0 .. the slots.
    int Size() const;
    uint32_t Entry(int k) const;
    // Appends value unless the count already reaches the slots (also when value is
    // there) or value is among the entries.
    AddResult Add(uint32_t value);
    // Removes entry k; the later entries move up one slot, the freed slot becomes 0.
    bool Remove(int k);
    // Swaps entries k and k + 1.
    bool SwapWithNext(int k);

private:
    int64_t RawCount() const;
    void SetCount(int n);
    void SetEntry(int k, uint32_t value);

    uint8_t* m_pRecord;
    ClassListLayout m_layout;
};

}  // namespace editors

#pragma once
// A record shown as rows of slots: each row one combo and a run of one-byte number boxes,
// with column headers above the rows. Every combo shows the same list, held once in a
// shared model. The controls join their group row by row, left to right, which is also
// the order the Tab key visits them.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>
#include <vector>

#include "editors/common/record_editor.h"
#include "editors/common/value_combo.h"

class QGroupBox;

namespace editors {

// A header over span columns; the first column of every row holds the combo. A numbered
// header also shows the numbers 1 .. span under it, one over each column.
struct SlotHeader {
    QString text;
    int span = 1;
    bool numbered = false;
};

// A control of a row: its accessible name and the offset of its byte in the record.
struct SlotCell {
    QString name;
    uint32_t offset = 0;
};

struct SlotRow {
    SlotCell combo;
    std::vector<SlotCell> numbers;  // one-byte boxes, 0-255
};

class SlotGrid {
public:
    // Builds the group title, headers above rows. Every combo lists items, maps them by
    // mapping and is comboCharacters wide. Without a parent the group joins its window
    // where a layout places it.
    SlotGrid(const QString& title, std::span<const SlotHeader> headers,
             std::span<const SlotRow> rows, const QStringList& items, ComboMapping mapping,
             int comboCharacters);

    QGroupBox* Group() const { return m_pGroup; }

    void Load(const uint8_t* record);
    void StoreCombos(uint8_t* record) const;
    // Reads every box in reading order; the first bad one shows the range message, takes
    // the focus and makes the read fail. Nothing is written.
    bool ReadNumbers(std::vector<uint32_t>& values) const;
    void WriteNumbers(const std::vector<uint32_t>& values, uint8_t* record) const;

private:
    QGroupBox* m_pGroup = nullptr;
    std::vector<ValueCombo> m_combos;
    std::vector<uint32_t> m_comboOffsets;
    std::vector<NumberField> m_numbers;
};

}  // namespace editors

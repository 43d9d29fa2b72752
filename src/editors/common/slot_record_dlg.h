#pragma once
// A record editor whose records are rows of slots (a combo and number boxes per row): the
// record list beside the group of rows. Moving to another record or pressing OK stores the
// record shown into the ROM buffer.
#include <QStringList>
#include <cstdint>
#include <memory>

#include "editors/common/record_list_dlg.h"
#include "editors/common/slot_grid.h"

namespace editors {

// What a store writes first. The two orders differ in what a refused number leaves.
enum class SlotStoreOrder {
    NumbersFirst,  // every box is read before anything is written: a refusal writes nothing
    CombosFirst,   // the combos are written before the boxes are read: they stay written
};

class SlotRecordDlg : public RecordListDlg {
    Q_OBJECT
public:
    ~SlotRecordDlg() override;

    // Writes the record shown in the order given at construction; fails when no record
    // is shown or a box holds no number of 0-255.
    bool StoreRecord() override;

protected:
    SlotRecordDlg(uint8_t* rom, uint32_t romSize, RecordTable table, SlotStoreOrder order,
                  QWidget* parent);

    // Builds the window around grid, the list (titled listTitle) holding items, one per
    // record, and shows the first record.
    void CreateControls(const QString& title, const QString& listTitle, const QStringList& items,
                        std::unique_ptr<SlotGrid> grid);

    uint8_t* Rom() const { return m_pRom; }
    uint32_t RomSize() const { return m_nRomSize; }

private:
    void ShowRecord(const uint8_t* record) override;

    SlotStoreOrder m_order;
    std::unique_ptr<SlotGrid> m_pGrid;
};

}  // namespace editors

#include "editors/common/slot_record_dlg.h"

#include <QGroupBox>

namespace editors {

SlotRecordDlg::SlotRecordDlg(uint8_t* rom, uint32_t romSize, RecordTable table,
                             SlotStoreOrder order, QWidget* parent)
    : RecordListDlg(rom, romSize, table, parent), m_order(order) {}

SlotRecordDlg::~SlotRecordDlg() = default;

void SlotRecordDlg::CreateControls(const QString& title, const QString& listTitle,
                                   const QStringList& items, std::unique_ptr<SlotGrid> grid) {
    m_pGrid = std::move(grid);
    CreateFrame(title, listTitle, items, QSize(220, 320), m_pGrid->Group());
    ShowFirstRecord();
}

void SlotRecordDlg::ShowRecord(const uint8_t* record) { m_pGrid->Load(record); }

bool SlotRecordDlg::StoreRecord() {
    uint8_t* record = Record(m_nShown);
    if (record == nullptr) return false;
    if (m_order == SlotStoreOrder::CombosFirst) m_pGrid->StoreCombos(record);
    std::vector<uint32_t> values;
    if (!m_pGrid->ReadNumbers(values)) return false;
    m_pGrid->WriteNumbers(values, record);
    if (m_order == SlotStoreOrder::NumbersFirst) m_pGrid->StoreCombos(record);
    return true;
}

}  // namespace editors

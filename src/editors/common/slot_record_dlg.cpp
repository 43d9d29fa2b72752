#include "editors/common/slot_record_dlg.h"

#include <QGroupBox>

#include "editors/common/record_editor.h"
#include "ui/controls.h"

namespace editors {

SlotRecordDlg::SlotRecordDlg(uint8_t* rom, uint32_t romSize, RecordTable table,
                             SlotStoreOrder order, QWidget* parent)
    : ui::Dialog(parent), m_pRom(rom), m_nRomSize(romSize), m_table(table), m_order(order) {}

SlotRecordDlg::~SlotRecordDlg() = default;

void SlotRecordDlg::CreateControls(const QString& title, const QString& listTitle,
                                   const QStringList& items, std::unique_ptr<SlotGrid> grid) {
    setWindowTitle(title);
    m_pGrid = std::move(grid);
    m_pList = new ui::ListBox(listTitle);
    m_pList->SetItems(items);
    m_pList->setMinimumSize(220, 320);
    const auto [ok, cancel] = LayOutRecordEditor(this, listTitle, m_pList, m_pGrid->Group());

    connect(m_pList, &ui::ListBox::SelChange, this, [this] { LoadRecord(); });
    connect(ok, &QPushButton::clicked, this, &SlotRecordDlg::OnOkButton);
    connect(cancel, &QPushButton::clicked, this, &SlotRecordDlg::OnCancel);

    m_pList->SetCurSel(0);
    LoadRecord();
}

uint8_t* SlotRecordDlg::Record(int index) const {
    return RecordAt(m_pRom, m_nRomSize, m_table.base, m_table.size, m_table.count, index);
}

void SlotRecordDlg::LoadRecord() {
    const std::optional<int> next =
        StoreAndMove(m_pList, m_nShown, [this] { return StoreRecord(); });
    if (!next) return;
    const uint8_t* record = Record(*next);
    if (record == nullptr) return;
    m_nShown = *next;
    m_pGrid->Load(record);
}

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

void SlotRecordDlg::OnOkButton() {
    if (m_nShown < 0 || StoreRecord()) EndDialog(QDialog::Accepted);
}

}  // namespace editors

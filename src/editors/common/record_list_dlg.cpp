#include "editors/common/record_list_dlg.h"

#include <QPushButton>

#include "editors/common/field_tips.h"
#include "editors/common/record_editor.h"
#include "ui/controls.h"

namespace editors {

RecordListDlg::RecordListDlg(uint8_t* rom, uint32_t romSize, RecordTable table, QWidget* parent)
    : ui::Dialog(parent), m_pRom(rom), m_nRomSize(romSize), m_table(table) {}

// The tips go before the controls do: nothing the list says while it goes may reach them.
RecordListDlg::~RecordListDlg() {
    if (m_pList != nullptr) disconnect(m_pList, nullptr, this, nullptr);
}

void RecordListDlg::CreateFrame(const QString& title, const QString& listTitle,
                                const QStringList& items, QSize listSize, QWidget* data) {
    setWindowTitle(title);
    m_pList = new ui::ListBox(listTitle);
    m_pList->SetItems(items);
    m_pList->setMinimumSize(listSize);
    const auto [ok, cancel] = LayOutRecordEditor(this, listTitle, m_pList, data);

    // The list stands on the record shown, also when a refused move puts it back.
    m_pTips = std::make_unique<FieldTips>(this, TableAt(m_table.base, m_table.size));
    connect(m_pList, &ui::ListBox::currentRowChanged, this, [this](int row) { m_pTips->Show(row); });
    connect(m_pList, &ui::ListBox::SelChange, this, [this] { LoadRecord(); });
    connect(ok, &QPushButton::clicked, this, &RecordListDlg::OnOkButton);
    connect(cancel, &QPushButton::clicked, this, &RecordListDlg::OnCancel);
}

void RecordListDlg::ShowFirstRecord() {
    m_pList->SetCurSel(0);
    LoadRecord();
}

uint8_t* RecordListDlg::Record(int index) const {
    return RecordAt(m_pRom, m_nRomSize, m_table.base, m_table.size, m_table.count, index);
}

void RecordListDlg::LoadRecord() {
    const std::optional<int> next =
        StoreAndMove(m_pList, m_nShown, [this] { return StoreRecord(); });
    if (!next) return;
    const uint8_t* record = Record(*next);
    if (record == nullptr) return;
    m_nShown = *next;
    ShowRecord(record);
}

bool RecordListDlg::MayClose() { return m_nShown < 0 || StoreRecord(); }

void RecordListDlg::OnOkButton() {
    if (MayClose()) EndDialog(QDialog::Accepted);
}

}  // namespace editors

#include "editors/weapons/weapon_dlg.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "core/layout/units.h"
#include "core/text_codec.h"
#include "editors/common/record_editor.h"
#include "editors/common/weapon_name_list.h"
#include "editors/weapons/weapon_basic_page.h"
#include "editors/weapons/weapon_type_page.h"
#include "ui/controls.h"

namespace {
namespace wr = tsumugi::layout::weapon_record;
enum Page { kBasicPage, kTypePage };
}  // namespace

CWeaponDlg::CWeaponDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : ui::Dialog(parent), m_pRom(rom), m_nRomSize(romSize) {
    setWindowTitle(QStringLiteral("武器"));
    CreateControls();
    m_pList->SetCurSel(0);
    m_pTab->SetCurSel(kBasicPage);
    LoadRecord();
}

void CWeaponDlg::CreateControls() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_pList = new ui::ListBox(QStringLiteral("武器"));
    m_pList->SetItems(editors::WeaponNameItems(codec));
    m_pList->setMinimumSize(200, 420);

    // The tab control shows the page of the selected tab and hides the other; switching
    // tabs neither stores nor loads.
    m_pTab = new ui::TabCtrl(QStringLiteral("データ"));
    m_pBasic = new CWeaponBasicPage(m_pRom, m_nRomSize);
    m_pType = new CWeaponTypePage(m_pRom, m_nRomSize);
    m_pTab->InsertItem(kBasicPage, m_pBasic, QStringLiteral("基本"));
    m_pTab->InsertItem(kTypePage, m_pType, QStringLiteral("タイプ"));
    auto* dataLayout = new QVBoxLayout;
    dataLayout->addWidget(m_pTab);
    QGroupBox* data = ui::MakeGroup(QStringLiteral("データ"), dataLayout);
    const auto [ok, cancel] = editors::LayOutRecordEditor(this, QStringLiteral("武器"), m_pList, data);

    connect(m_pList, &ui::ListBox::SelChange, this, [this] { LoadRecord(); });
    connect(ok, &QPushButton::clicked, this, &CWeaponDlg::OnOkButton);
    connect(cancel, &QPushButton::clicked, this, &CWeaponDlg::OnCancel);
}

uint8_t* CWeaponDlg::Record(int index) const {
    return editors::RecordAt(m_pRom, m_nRomSize, wr::kBase, wr::kSize, wr::kCount, index);
}

void CWeaponDlg::LoadRecord() {
    const std::optional<int> next =
        editors::StoreAndMove(m_pList, m_nShown, [this] { return StoreRecord(); });
    if (!next) return;
    const uint8_t* record = Record(*next);
    if (record == nullptr) return;
    m_nShown = *next;
    m_pBasic->LoadRecord(record);
    m_pType->LoadRecord(record);
}

bool CWeaponDlg::StoreRecord() {
    uint8_t* record = Record(m_nShown);
    if (record == nullptr) return false;
    if (!m_pBasic->StoreFields(record)) return false;
    bool renamed = false;
    if (!m_pBasic->StoreName(record, renamed)) {
        m_pTab->SetCurSel(kBasicPage);
        m_pBasic->NameEdit()->setFocus();
        return false;
    }
    if (renamed) editors::ReplaceListItem(m_pList, m_nShown, m_pBasic->NameText());
    m_pType->StoreChoices(record);
    return m_pType->StoreMapFields(record);
}

void CWeaponDlg::OnOkButton() {
    if (m_nShown < 0 || StoreRecord()) EndDialog(QDialog::Accepted);
}

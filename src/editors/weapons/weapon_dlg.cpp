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
    : editors::RecordListDlg(rom, romSize, {wr::kBase, wr::kSize, wr::kCount}, parent) {
    CreateControls();
    m_pTab->SetCurSel(kBasicPage);
    ShowFirstRecord();
}

void CWeaponDlg::CreateControls() {
    // The tab control shows the page of the selected tab and hides the other; switching
    // tabs neither stores nor loads.
    m_pTab = new ui::TabCtrl(QStringLiteral("データ"));
    m_pBasic = new CWeaponBasicPage(m_pRom, m_nRomSize);
    m_pType = new CWeaponTypePage(m_pRom, m_nRomSize);
    m_pTab->InsertItem(kBasicPage, m_pBasic, QStringLiteral("基本"));
    m_pTab->InsertItem(kTypePage, m_pType, QStringLiteral("タイプ"));
    auto* dataLayout = new QVBoxLayout;
    dataLayout->addWidget(m_pTab);
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    CreateFrame(QStringLiteral("武器"), QStringLiteral("武器"), editors::WeaponNameItems(codec),
                QSize(200, 420), ui::MakeGroup(QStringLiteral("データ"), dataLayout));
}

void CWeaponDlg::ShowRecord(const uint8_t* record) {
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
    if (renamed) m_pList->SetText(m_nShown, m_pBasic->NameText());
    m_pType->StoreChoices(record);
    return m_pType->StoreMapFields(record);
}

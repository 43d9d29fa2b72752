#include "editors/units/unit_dlg.h"

#include <QApplication>
#include <QGroupBox>
#include <QVBoxLayout>

#include "core/layout/units.h"
#include "core/text_codec.h"
#include "editors/common/record_editor.h"
#include "editors/units/unit_ability_page.h"
#include "editors/units/unit_basic_page.h"
#include "editors/units/unit_machine_page.h"
#include "editors/units/unit_weapon_page.h"
#include "ui/controls.h"
#include "ui/services.h"
#include "ui/text.h"

namespace {
namespace ur = tsumugi::layout::unit_record;
enum Page { kBasicPage, kAbilityPage, kMachinePage, kWeaponPage };
}

CUnitDlg::CUnitDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : editors::RecordListDlg(rom, romSize, {ur::kBase, ur::kSize, ur::kCount}, parent) {
    CreateControls();
    FillList();
    m_pTab->SetCurSel(kBasicPage);
    ShowFirstRecord();
}

void CUnitDlg::CreateControls() {
    // The tab control shows the page of the selected tab and hides the others; switching
    // tabs neither stores nor loads.
    m_pTab = new ui::TabCtrl(QStringLiteral("データ"));
    m_pBasic = new CUnitBasicPage(m_pRom, m_nRomSize);
    m_pAbility = new CUnitAbilityPage;
    m_pMachine = new CUnitMachinePage(m_pRom, m_nRomSize);
    m_pWeapon = new CUnitWeaponPage(m_pRom, m_nRomSize);
    m_pTab->InsertItem(kBasicPage, m_pBasic, QStringLiteral("基本"));
    m_pTab->InsertItem(kAbilityPage, m_pAbility, QStringLiteral("特殊技能"));
    m_pTab->InsertItem(kMachinePage, m_pMachine, QStringLiteral("機体"));
    m_pTab->InsertItem(kWeaponPage, m_pWeapon, QStringLiteral("武器"));
    auto* dataLayout = new QVBoxLayout;
    dataLayout->addWidget(m_pTab);
    CreateFrame(QStringLiteral("ユニット"), QStringLiteral("ユニット"), {}, QSize(200, 480),
                ui::MakeGroup(QStringLiteral("データ"), dataLayout));
}

void CUnitDlg::FillList() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    for (int i = 0; i < ur::kCount; ++i) {
        std::string name;
        if (!codec.GetUnitName(i, name)) {
            ui::MessageBox(this, ui::TableFailure());
            return;
        }
        m_pList->AddString(ui::FromCp932(name));
    }
}

void CUnitDlg::ShowRecord(const uint8_t* record) {
    m_pBasic->LoadRecord(record);
    m_pAbility->LoadRecord(record);
    m_pMachine->LoadRecord(record);
    m_pWeapon->LoadRecord(record);
}

bool CUnitDlg::StoreRecord() {
    uint8_t* record = Record(m_nShown);
    if (record == nullptr) return true;
    if (!m_pBasic->StoreRecord(record)) {
        ShowFailedPage(kBasicPage);
        return false;
    }
    m_pAbility->StoreRecord(record);
    bool renamed = false;
    if (!m_pMachine->StoreName(record, renamed)) {
        ShowFailedPage(kMachinePage);
        return false;
    }
    if (renamed) m_pList->SetText(m_nShown, m_pMachine->NameText());
    if (!m_pMachine->StoreFields(record)) {
        ShowFailedPage(kMachinePage);
        return false;
    }
    m_pWeapon->StoreRecord(record);
    return true;
}

void CUnitDlg::ShowFailedPage(int page) {
    QWidget* focus = QApplication::focusWidget();
    m_pTab->SetCurSel(page);
    if (focus != nullptr && m_pTab->widget(page)->isAncestorOf(focus)) focus->setFocus();
}

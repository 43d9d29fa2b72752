#include "editors/abilities/parts_dlg.h"

#include <array>

#include "core/layout/abilities.h"
#include "core/text_codec.h"
#include "editors/abilities/parts_basic_page.h"
#include "editors/common/record_editor.h"
#include "editors/units/unit_ability_page.h"
#include "ui/controls.h"

namespace {

using namespace tsumugi::layout::part_record;

enum Page { kBasicPage, kAbilityPage };

// The bytes of the ability groups "特殊能力１" to "特殊能力4"; a part has no fifth group.
constexpr std::array<uint32_t, 4> kAbilityGroupBytes = {kAbilities1, kEnergyAbsorb, kAbilities3,
                                                        kJammer};

}  // namespace

CPartsDlg::CPartsDlg(uint8_t* rom, uint32_t romSize, QWidget* parent)
    : editors::RecordListDlg(rom, romSize, {kBase, kSize, kCount}, parent) {
    CreateControls();
    m_pTab->SetCurSel(kBasicPage);
    ShowFirstRecord();
}

void CPartsDlg::CreateControls() {
    // The tab control shows the page of the selected tab and hides the other; switching
    // tabs neither stores nor loads.
    m_pTab = new ui::TabCtrl(QStringLiteral("データ"));
    m_pBasic = new CPartsBasicPage;
    m_pAbility = new CUnitAbilityPage;
    m_pAbility->SetGroup5Enabled(false);
    m_pTab->InsertItem(kBasicPage, m_pBasic, QStringLiteral("基本"));
    m_pTab->InsertItem(kAbilityPage, m_pAbility, QStringLiteral("特殊技能"));
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    CreateFrame(QStringLiteral("強化パーツ"), QStringLiteral("強化パーツ"),
                editors::NameItems(codec, tsumugi::NameKind::Part), QSize(180, 420), m_pTab);
}

void CPartsDlg::ShowRecord(const uint8_t* record) {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_pBasic->LoadRecord(codec, record);
    m_pAbility->LoadGroups(record, kAbilityGroupBytes);
}

bool CPartsDlg::StoreRecord() {
    uint8_t* record = Record(m_nShown);
    if (record == nullptr) return true;
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    bool renamed = false;
    const bool stored = m_pBasic->StoreRecord(codec, record, renamed);
    if (renamed) m_pList->SetText(m_nShown, m_pBasic->NameText());
    if (!stored) {
        // Every input that can be refused lies on the page "基本", which took the focus
        // even when hidden: show it with that input focused.
        m_pTab->SetCurSel(kBasicPage);
        if (QWidget* refused = m_pBasic->focusWidget()) refused->setFocus();
        return false;
    }
    m_pAbility->StoreGroups(record, kAbilityGroupBytes);
    return true;
}

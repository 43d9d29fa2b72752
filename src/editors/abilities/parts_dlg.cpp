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
    : ui::Dialog(parent), m_pRom(rom), m_nRomSize(romSize) {
    setWindowTitle(QStringLiteral("強化パーツ"));
    CreateControls();
    m_pList->SetCurSel(0);
    m_pTab->SetCurSel(kBasicPage);
    LoadRecord();
}

void CPartsDlg::CreateControls() {
    tsumugi::CTextCodec codec(m_pRom, m_nRomSize);
    m_pList = new ui::ListBox(QStringLiteral("強化パーツ"));
    m_pList->SetItems(editors::NameItems(codec, tsumugi::NameKind::Part));
    m_pList->setMinimumSize(180, 420);

    // The tab control shows the page of the selected tab and hides the other; switching
    // tabs neither stores nor loads.
    m_pTab = new ui::TabCtrl(QStringLiteral("データ"));
    m_pBasic = new CPartsBasicPage;
    m_pAbility = new CUnitAbilityPage;
    m_pAbility->SetGroup5Enabled(false);
    m_pTab->InsertItem(kBasicPage, m_pBasic, QStringLiteral("基本"));
    m_pTab->InsertItem(kAbilityPage, m_pAbility, QStringLiteral("特殊技能"));
    const auto [ok, cancel] =
        editors::LayOutRecordEditor(this, QStringLiteral("強化パーツ"), m_pList, m_pTab);

    connect(m_pList, &ui::ListBox::SelChange, this, [this] { LoadRecord(); });
    connect(ok, &QPushButton::clicked, this, &CPartsDlg::OnOkButton);
    connect(cancel, &QPushButton::clicked, this, &CPartsDlg::OnCancel);
}

uint8_t* CPartsDlg::Record(int index) const {
    return editors::RecordAt(m_pRom, m_nRomSize, kBase, kSize, kCount, index);
}

void CPartsDlg::LoadRecord() {
    const std::optional<int> next =
        editors::StoreAndMove(m_pList, m_nShown, [this] { return StoreRecord(); });
    if (!next) return;
    const uint8_t* record = Record(*next);
    if (record == nullptr) return;
    m_nShown = *next;
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
    if (renamed) editors::ReplaceListItem(m_pList, m_nShown, m_pBasic->NameText());
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

void CPartsDlg::OnOkButton() {
    if (m_nShown < 0 || StoreRecord()) EndDialog(QDialog::Accepted);
}

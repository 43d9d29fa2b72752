#pragma once
// The special skill editor: the list of the 36 special skills beside one group of
// controls that shows the selected record. The three description pages share one box
// under a tab strip; changing the tab stores the page shown and shows the other. Moving
// to another skill or pressing OK stores the whole record shown into the ROM buffer.
#include <array>
#include <cstdint>

#include "core/layout/abilities.h"
#include "editors/abilities/store_outcome.h"
#include "editors/common/record_editor.h"
#include "editors/common/value_combo.h"
#include "editors/common/record_list_dlg.h"

namespace ui {
class CheckBox;
class Edit;
class MultiEdit;
class TabCtrl;
}  // namespace ui

class CSkillDlg : public editors::RecordListDlg {
    Q_OBJECT
public:
    CSkillDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // In order: the two flags, the numbers (a bad one stops here), the skill type, the
    // name, the page shown. A failure leaves what was written before it.
    bool StoreRecord() override;
    // Stores the page shown, if any, and shows the page of the selected tab; the tab
    // goes back to the page shown when the store fails.
    void LoadPage();
    // Writes the description box into the page shown, when its text changed.
    bool StorePage();

private:
    void CreateControls();
    QWidget* CreateDataGroup();
    // Shows record with the page of the tab selected now.
    void ShowRecord(const uint8_t* record) override;
    editors::StoreOutcome Store();
    editors::StoreOutcome StoreShownPage();
    // OK closes unless a number was refused: a text that cannot be converted has shown its
    // message and keeps its old bytes.
    bool MayClose() override;

    int m_nPage = -1;
    // A text holding codes the character table lacks is shown locked and never stored.
    bool m_bNameEditable = true;
    bool m_bPageEditable = true;

    ui::CheckBox* m_pAcquirable = nullptr;
    ui::CheckBox* m_pHasLevels = nullptr;
    editors::ValueCombo m_type;
    // The maximum level, then the PP cost of levels 1-9.
    std::array<editors::NumberField, 1 + tsumugi::layout::skill_record::kLevels> m_numbers{};
    ui::Edit* m_pName = nullptr;
    ui::TabCtrl* m_pPages = nullptr;
    ui::MultiEdit* m_pDescription = nullptr;
};

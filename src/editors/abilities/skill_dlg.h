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
#include "ui/dialog.h"

namespace ui {
class CheckBox;
class Edit;
class ListBox;
class MultiEdit;
class TabCtrl;
}  // namespace ui

class CSkillDlg : public ui::Dialog {
    Q_OBJECT
public:
    CSkillDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Stores the record shown, if any, and shows the list's selection with the page of
    // the tab selected now; stays on the record shown when the store fails.
    void LoadRecord();
    // In order: the two flags, the numbers (a bad one stops here), the skill type, the
    // name, the page shown. A failure leaves what was written before it.
    bool StoreRecord();
    // Stores the page shown, if any, and shows the page of the selected tab; the tab
    // goes back to the page shown when the store fails.
    void LoadPage();
    // Writes the description box into the page shown, when its text changed.
    bool StorePage();

private:
    void CreateControls();
    QWidget* CreateDataGroup();
    uint8_t* Record(int index) const;
    editors::StoreOutcome Store();
    editors::StoreOutcome StoreShownPage();
    void OnOkButton();

    uint8_t* m_pRom;
    uint32_t m_nRomSize;
    int m_nShown = -1;
    int m_nPage = -1;
    // A text holding codes the character table lacks is shown locked and never stored.
    bool m_bNameEditable = true;
    bool m_bPageEditable = true;

    ui::ListBox* m_pList = nullptr;
    ui::CheckBox* m_pAcquirable = nullptr;
    ui::CheckBox* m_pHasLevels = nullptr;
    editors::ValueCombo m_type;
    // The maximum level, then the PP cost of levels 1-9.
    std::array<editors::NumberField, 1 + tsumugi::layout::skill_record::kLevels> m_numbers{};
    ui::Edit* m_pName = nullptr;
    ui::TabCtrl* m_pPages = nullptr;
    ui::MultiEdit* m_pDescription = nullptr;
};

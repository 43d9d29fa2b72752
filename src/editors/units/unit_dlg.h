#pragma once
// The unit editor: the list of the 150 units beside four pages that show one record.
// Moving to another unit or pressing OK stores the record shown into the ROM buffer.
#include <cstdint>

#include "editors/common/record_list_dlg.h"

class CUnitAbilityPage;
class CUnitBasicPage;
class CUnitMachinePage;
class CUnitWeaponPage;

namespace ui {
class TabCtrl;
}

class CUnitDlg : public editors::RecordListDlg {
    Q_OBJECT
public:
    CUnitDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Writes the four pages into the record shown, in a fixed order; a failure leaves
    // what was written before it.
    bool StoreRecord() override;

private:
    void CreateControls();
    void FillList();
    void ShowRecord(const uint8_t* record) override;
    // After a failed store: shows the page that holds the refused input.
    void ShowFailedPage(int page);

    ui::TabCtrl* m_pTab = nullptr;
    CUnitBasicPage* m_pBasic = nullptr;
    CUnitAbilityPage* m_pAbility = nullptr;
    CUnitMachinePage* m_pMachine = nullptr;
    CUnitWeaponPage* m_pWeapon = nullptr;
};

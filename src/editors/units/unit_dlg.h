#pragma once
// The unit editor: the list of the 150 units beside four pages that show one record.
// Moving to another unit or pressing OK stores the record shown into the ROM buffer.
#include <cstdint>

#include "ui/dialog.h"

class CUnitAbilityPage;
class CUnitBasicPage;
class CUnitMachinePage;
class CUnitWeaponPage;

namespace ui {
class ListBox;
class TabCtrl;
}  // namespace ui

class CUnitDlg : public ui::Dialog {
    Q_OBJECT
public:
    CUnitDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Stores the record shown, if any, and shows the list's selection; stays on the
    // record shown when the store fails.
    void LoadRecord();
    // Writes the four pages into the record shown, in a fixed order; a failure leaves
    // what was written before it.
    bool StoreRecord();

private:
    void CreateControls();
    void FillList();
    uint8_t* Record(int index) const;
    void OnOkButton();
    // After a failed store: shows the page that holds the refused input.
    void ShowFailedPage(int page);

    uint8_t* m_pRom;
    uint32_t m_nRomSize;
    int m_nShown = -1;

    ui::ListBox* m_pList = nullptr;
    ui::TabCtrl* m_pTab = nullptr;
    CUnitBasicPage* m_pBasic = nullptr;
    CUnitAbilityPage* m_pAbility = nullptr;
    CUnitMachinePage* m_pMachine = nullptr;
    CUnitWeaponPage* m_pWeapon = nullptr;
};

#pragma once
// The weapon editor: the list of the 740 weapons beside two pages that show one record.
// Moving to another weapon or pressing OK stores the record shown into the ROM buffer.
#include <cstdint>

#include "ui/dialog.h"

class CWeaponBasicPage;
class CWeaponTypePage;

namespace ui {
class ListBox;
class TabCtrl;
}  // namespace ui

class CWeaponDlg : public ui::Dialog {
    Q_OBJECT
public:
    CWeaponDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Stores the record shown, if any, and shows the list's selection; stays on the
    // record shown when the store fails.
    void LoadRecord();
    // Writes the two pages into the record shown: the numbers, skill and terrain of
    // "基本", its name, the choices and flags of "タイプ", then its map-weapon numbers.
    // A failure leaves what was written before it; false when no record is shown.
    bool StoreRecord();

private:
    void CreateControls();
    uint8_t* Record(int index) const;
    void OnOkButton();

    uint8_t* m_pRom;
    uint32_t m_nRomSize;
    int m_nShown = -1;

    ui::ListBox* m_pList = nullptr;
    ui::TabCtrl* m_pTab = nullptr;
    CWeaponBasicPage* m_pBasic = nullptr;
    CWeaponTypePage* m_pType = nullptr;
};

#pragma once
// The enhancement-part editor: the list of the 46 parts beside two pages, "基本" and the
// special-ability page the unit editor shows (without its fifth group, which a part does
// not have). Moving to another part or pressing OK stores the record shown into the ROM
// buffer.
#include <cstdint>

#include "ui/dialog.h"

class CPartsBasicPage;
class CUnitAbilityPage;

namespace ui {
class ListBox;
class TabCtrl;
}  // namespace ui

class CPartsDlg : public ui::Dialog {
    Q_OBJECT
public:
    CPartsDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Stores the record shown, if any, and shows the list's selection; stays on the
    // record shown when the store fails.
    void LoadRecord();
    // Writes the page "基本", then the special abilities; a failure leaves what was
    // written before it.
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
    CPartsBasicPage* m_pBasic = nullptr;
    CUnitAbilityPage* m_pAbility = nullptr;
};

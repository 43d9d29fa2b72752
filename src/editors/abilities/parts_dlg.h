#pragma once
// The enhancement-part editor: the list of the 46 parts beside two pages, "基本" and the
// special-ability page the unit editor shows (without its fifth group, which a part does
// not have). Moving to another part or pressing OK stores the record shown into the ROM
// buffer.
#include <cstdint>

#include "editors/common/record_list_dlg.h"

class CPartsBasicPage;
class CUnitAbilityPage;

namespace ui {
class TabCtrl;
}

class CPartsDlg : public editors::RecordListDlg {
    Q_OBJECT
public:
    CPartsDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Writes the page "基本", then the special abilities; a failure leaves what was
    // written before it.
    bool StoreRecord() override;

private:
    void CreateControls();
    void ShowRecord(const uint8_t* record) override;

    ui::TabCtrl* m_pTab = nullptr;
    CPartsBasicPage* m_pBasic = nullptr;
    CUnitAbilityPage* m_pAbility = nullptr;
};

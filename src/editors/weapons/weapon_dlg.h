#pragma once
// The weapon editor: the list of the 740 weapons beside two pages that show one record.
// Moving to another weapon or pressing OK stores the record shown into the ROM buffer.
#include <cstdint>

#include "editors/common/record_list_dlg.h"

class CWeaponBasicPage;
class CWeaponTypePage;

namespace ui {
class TabCtrl;
}

class CWeaponDlg : public editors::RecordListDlg {
    Q_OBJECT
public:
    CWeaponDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Writes the two pages into the record shown: the numbers, skill and terrain of
    // "基本", its name, the choices and flags of "タイプ", then its map-weapon numbers.
    // A failure leaves what was written before it; false when no record is shown.
    bool StoreRecord() override;

private:
    void CreateControls();
    void ShowRecord(const uint8_t* record) override;

    ui::TabCtrl* m_pTab = nullptr;
    CWeaponBasicPage* m_pBasic = nullptr;
    CWeaponTypePage* m_pType = nullptr;
};

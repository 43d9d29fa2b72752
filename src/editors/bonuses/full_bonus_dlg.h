#pragma once
// The full-upgrade bonus editor: the list of the 50 full-upgrade bonuses beside one group of
// controls that shows the selected record. Moving to another bonus or pressing OK stores
// the record shown into the ROM buffer: the numbers, the two flags and the two effects,
// then the name.
#include <array>
#include <cstdint>

#include "editors/bonuses/bonus_record_dlg.h"

namespace ui {
class CheckBox;
class Edit;
}  // namespace ui

class CFullBonusDlg : public CBonusRecordDlg {
    Q_OBJECT
public:
    CFullBonusDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

private:
    QWidget* CreateDataGroup();
    void ShowChoices(const uint8_t* record) override;
    void StoreChoices(uint8_t* record) override;

    std::array<editors::NumberField, 13> m_numbers{};
    ui::CheckBox* m_pTerrainS = nullptr;
    ui::CheckBox* m_pWeaponTerrainS = nullptr;
    editors::ValueCombo m_effect1;
    editors::ValueCombo m_effect2;
    ui::Edit* m_pName = nullptr;
};

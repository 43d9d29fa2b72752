#pragma once
// The full-upgrade bonus editor: the list of the 50 full-upgrade bonuses beside one group of
// controls that shows the selected record. Moving to another bonus or pressing OK stores
// the record shown into the ROM buffer.
#include <array>
#include <cstdint>

#include "editors/common/record_editor.h"
#include "editors/common/value_combo.h"
#include "ui/dialog.h"

namespace ui {
class CheckBox;
class Edit;
class ListBox;
}  // namespace ui

class CFullBonusDlg : public ui::Dialog {
    Q_OBJECT
public:
    CFullBonusDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Stores the record shown, if any, and shows the list's selection; stays on the
    // record shown when the store fails.
    void LoadRecord();
    // Reads every number box first (a refused one writes nothing), then writes the
    // numbers, the two flags and the two effects, then the name. A name that cannot be
    // converted fails after the rest is written.
    bool StoreRecord();

private:
    void CreateControls();
    QWidget* CreateDataGroup();
    uint8_t* Record(int index) const;
    void OnOkButton();

    uint8_t* m_pRom;
    uint32_t m_nRomSize;
    int m_nShown = -1;
    // A name holding codes the character table lacks is shown locked and never stored.
    bool m_bNameEditable = true;

    ui::ListBox* m_pList = nullptr;
    std::array<editors::NumberField, 13> m_numbers{};
    ui::CheckBox* m_pTerrainS = nullptr;
    ui::CheckBox* m_pWeaponTerrainS = nullptr;
    editors::ValueCombo m_effect1;
    editors::ValueCombo m_effect2;
    ui::Edit* m_pName = nullptr;
};

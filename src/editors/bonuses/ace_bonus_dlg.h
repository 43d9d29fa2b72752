#pragma once
// The ace bonus editor: the list of the 60 ace bonuses beside one group of controls that
// shows the selected record. Moving to another bonus or pressing OK stores the record
// shown into the ROM buffer.
#include <array>
#include <cstdint>

#include "editors/common/record_editor.h"
#include "editors/common/value_combo.h"
#include "ui/dialog.h"

namespace ui {
class ListBox;
class MultiEdit;
}  // namespace ui

class CAceBonusDlg : public ui::Dialog {
    Q_OBJECT
public:
    CAceBonusDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Stores the record shown, if any, and shows the list's selection; stays on the
    // record shown when the store fails.
    void LoadRecord();
    // Reads every number box first (a refused one writes nothing), then writes the
    // numbers and the two choices, then the name. A name that cannot be converted fails
    // after the numbers and choices are written.
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
    std::array<editors::NumberField, 19> m_numbers{};
    editors::ValueCombo m_spirit;
    editors::ValueCombo m_skill;
    ui::MultiEdit* m_pName = nullptr;
};

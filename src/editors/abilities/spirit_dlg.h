#pragma once
// The spirit command editor: the list of the 33 spirit commands beside one group of
// controls that shows the selected record. Moving to another command or pressing OK
// stores the record shown into the ROM buffer.
#include <cstdint>

#include "editors/abilities/store_outcome.h"
#include "editors/common/value_combo.h"
#include "ui/dialog.h"

namespace ui {
class CheckBox;
class Edit;
class ListBox;
class MultiEdit;
}  // namespace ui

class CSpiritDlg : public ui::Dialog {
    Q_OBJECT
public:
    CSpiritDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Stores the record shown, if any, and shows the list's selection; stays on the
    // record shown when the store fails.
    void LoadRecord();
    // In order: the SP cost (a bad one writes nothing), the first four bytes, the initial
    // character, the name, the description. A failure leaves what was written before it.
    bool StoreRecord();

private:
    void CreateControls();
    QWidget* CreateDataGroup();
    uint8_t* Record(int index) const;
    editors::StoreOutcome Store();
    void OnOkButton();

    uint8_t* m_pRom;
    uint32_t m_nRomSize;
    int m_nShown = -1;
    // A text holding codes the character table lacks is shown locked and never stored.
    bool m_bInitialEditable = true;
    bool m_bNameEditable = true;
    bool m_bDescriptionEditable = true;

    ui::ListBox* m_pList = nullptr;
    editors::ValueCombo m_duration;
    editors::ValueCombo m_target;
    ui::CheckBox* m_pOnOthers = nullptr;
    ui::Edit* m_pSpCost = nullptr;
    ui::Edit* m_pInitial = nullptr;
    ui::Edit* m_pName = nullptr;
    ui::MultiEdit* m_pDescription = nullptr;
};

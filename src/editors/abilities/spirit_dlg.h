#pragma once
// The spirit command editor: the list of the 33 spirit commands beside one group of
// controls that shows the selected record. Moving to another command or pressing OK
// stores the record shown into the ROM buffer.
#include <cstdint>

#include "editors/abilities/store_outcome.h"
#include "editors/common/value_combo.h"
#include "editors/common/record_list_dlg.h"

namespace ui {
class CheckBox;
class Edit;
class MultiEdit;
}  // namespace ui

class CSpiritDlg : public editors::RecordListDlg {
    Q_OBJECT
public:
    CSpiritDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // In order: the SP cost (a bad one writes nothing), the first four bytes, the initial
    // character, the name, the description. A failure leaves what was written before it.
    bool StoreRecord() override;

private:
    void CreateControls();
    QWidget* CreateDataGroup();
    void ShowRecord(const uint8_t* record) override;
    editors::StoreOutcome Store();
    // OK closes unless a number was refused: a text that cannot be converted has shown its
    // message and keeps its old bytes.
    bool MayClose() override;

    // A text holding codes the character table lacks is shown locked and never stored.
    bool m_bInitialEditable = true;
    bool m_bNameEditable = true;
    bool m_bDescriptionEditable = true;

    editors::ValueCombo m_duration;
    editors::ValueCombo m_target;
    ui::CheckBox* m_pOnOthers = nullptr;
    ui::Edit* m_pSpCost = nullptr;
    ui::Edit* m_pInitial = nullptr;
    ui::Edit* m_pName = nullptr;
    ui::MultiEdit* m_pDescription = nullptr;
};

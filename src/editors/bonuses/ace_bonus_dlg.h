#pragma once
// The ace bonus editor: the list of the 60 ace bonuses beside one group of controls that
// shows the selected record. Moving to another bonus or pressing OK stores the record
// shown into the ROM buffer: the numbers, the two choices, then the name.
#include <array>
#include <cstdint>

#include "editors/bonuses/bonus_record_dlg.h"

namespace ui {
class MultiEdit;
}

class CAceBonusDlg : public CBonusRecordDlg {
    Q_OBJECT
public:
    CAceBonusDlg(uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

private:
    QWidget* CreateDataGroup();
    void ShowChoices(const uint8_t* record) override;
    void StoreChoices(uint8_t* record) override;

    std::array<editors::NumberField, 19> m_numbers{};
    editors::ValueCombo m_spirit;
    editors::ValueCombo m_skill;
    ui::MultiEdit* m_pName = nullptr;
};

#pragma once
// Page "タイプ" of the weapon editor: weapon types, upgrade cost and attack growth types,
// the selection kind, the flags of byte 30 and the map-weapon settings.
#include <QWidget>
#include <array>
#include <cstdint>

#include "editors/common/record_editor.h"
#include "editors/common/value_combo.h"

namespace ui {
class CheckBox;
}

class CWeaponTypePage : public QWidget {
    Q_OBJECT
public:
    CWeaponTypePage(const uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    // Shows the record. "味方識別" is ticked for any byte other than 0.
    void LoadRecord(const uint8_t* record);

    // Writes bytes 0, 1, 6, 7 and 2 from the combos, bytes 30-31 as one word holding the
    // eight flags (byte 31 becomes 0), and byte 8 from "方向".
    void StoreChoices(uint8_t* record) const;
    // Validates "形" and "エフェクト" (nothing written on failure), then writes bytes 11, 9
    // and 12 (exactly 1 when "味方識別" is ticked, else 0).
    bool StoreMapFields(uint8_t* record);

private:
    QWidget* CreateFlagGroup();
    QWidget* CreateMapGroup();

    editors::ValueCombo m_type1;
    editors::ValueCombo m_type2;
    editors::ValueCombo m_costType;
    editors::ValueCombo m_growthType;
    editors::ValueCombo m_selection;
    std::array<ui::CheckBox*, 8> m_flags{};
    editors::ValueCombo m_direction;
    std::array<editors::NumberField, 2> m_mapNumbers{};  // "形", "エフェクト"
    ui::CheckBox* m_pFriendId = nullptr;
};

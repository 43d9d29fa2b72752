#pragma once
// Page "武器" of the unit editor: the twelve weapon slots, top to bottom. All twelve
// combos show one shared list of the weapon names and "無し(0xFFFF)".
#include <QWidget>
#include <array>
#include <cstdint>

#include "editors/common/value_combo.h"
#include "core/layout/units.h"

class QStringListModel;

class CUnitWeaponPage : public QWidget {
    Q_OBJECT
public:
    CUnitWeaponPage(const uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);

    void LoadRecord(const uint8_t* record);
    void StoreRecord(uint8_t* record) const;

private:
    QStringListModel* m_pModel = nullptr;
    std::array<editors::ValueCombo, tsumugi::layout::unit_record::kWeaponSlots> m_weapons;
};

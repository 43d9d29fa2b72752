#pragma once
// Page "基本" of the unit editor: stats, terrain ranks, movement types, upgrade stages
// and the full-upgrade bonus.
#include <QWidget>
#include <array>
#include <memory>

#include "editors/common/record_editor.h"
#include "editors/common/terrain_ranks.h"
#include "editors/common/value_combo.h"

namespace ui {
class CheckBox;
}

class CUnitBasicPage : public QWidget {
    Q_OBJECT
public:
    CUnitBasicPage(const uint8_t* rom, uint32_t romSize, QWidget* parent = nullptr);
    ~CUnitBasicPage() override;

    void LoadRecord(const uint8_t* record);
    // Validates the number boxes first: a bad one fails with nothing written. Otherwise
    // writes bytes 0-28 except 29-31 (which lie outside this page).
    bool StoreRecord(uint8_t* record);

private:
    void CreateControls(const uint8_t* rom, uint32_t romSize);

    std::array<editors::NumberField, 10> m_numbers{};
    editors::ValueCombo m_partSlots;
    std::unique_ptr<editors::TerrainGroup> m_pTerrain;
    std::array<ui::CheckBox*, 4> m_moveTypes{};
    std::array<editors::ValueCombo, 4> m_upgrades;
    editors::ValueCombo m_fullBonus;
};

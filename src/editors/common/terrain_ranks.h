#pragma once
// Terrain ranks: one 16-bit word of four 4-bit fields, bits 12-15 air, 8-11 land, 4-7 sea,
// 0-3 space, each 0-4 for "S" .. "D". Shown as the group "地形適応" with four combos.
#include <array>
#include <cstdint>

#include "editors/common/value_combo.h"

class QGroupBox;
class QWidget;

namespace editors {

enum class Terrain { Air = 0, Land = 1, Sea = 2, Space = 3 };

// The 4-bit field of terrain in word.
uint8_t TerrainRank(uint16_t word, Terrain terrain);
// word with the field of terrain replaced by the low 4 bits of rank.
uint16_t WithTerrainRank(uint16_t word, Terrain terrain, uint8_t rank);

class TerrainGroup {
public:
    // Builds the group and its combos "空", "陸", "海", "宇" (items "S" .. "D"). Without a
    // parent the group joins its window where a layout places it.
    explicit TerrainGroup(QWidget* parent);

    QGroupBox* Group() const { return m_pGroup; }
    ui::ComboBox* Combo(Terrain terrain) const { return Rank(terrain).Combo(); }

    void Load(uint16_t word);
    // A field whose combo shows nothing (its rank was above 4) keeps its loaded bits.
    uint16_t Store() const;

private:
    const ValueCombo& Rank(Terrain t) const { return m_ranks[static_cast<int>(t)]; }

    QGroupBox* m_pGroup = nullptr;
    std::array<ValueCombo, 4> m_ranks;
};

}  // namespace editors
